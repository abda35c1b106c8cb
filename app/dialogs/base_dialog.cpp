#include "app/dialogs/base_dialog.h"

#include <cwchar>

#include "res/resource.h"
#include "winui/centre.h"

using winui::Message;
using winui::MessageResult;

const winui::MessageMapEntry<CBaseDialog> CBaseDialog::MESSAGE_MAP[] = {
    winui::OnMessage(WM_INITDIALOG, &Self::OnInitDialog),
    winui::OnMessage(WM_NCPAINT, &Self::OnNcPaint),
    winui::OnMessage(WM_NCMOUSEMOVE, &Self::OnNcMouseMove),
    winui::OnMessage(WM_NCLBUTTONUP, &Self::OnNcLButtonUp),
    winui::OnMessage(WM_NCLBUTTONDOWN, &Self::OnNcLButtonDown),
    winui::OnMessage(WM_NCACTIVATE, &Self::OnNcActivate),
    winui::OnMessage(WM_PAINT, &Self::OnPaint),
    winui::OnMessage(WM_CTLCOLORSTATIC, &Self::OnCtlColorStatic),
};

CBaseDialog::CBaseDialog(int dialogId, const wchar_t* title)
    : winui::Dialog(dialogId) {
  std::wcsncat(captionTitle, title, 255);
}

CBaseDialog::~CBaseDialog() {
  ReleaseCaptionButton(closeButton_);
  if (icon_ != nullptr) DestroyIcon(icon_);
}

bool CBaseDialog::PreTranslateMessage(MSG& msg) {
  return IsDialogMessageW(handle(), &msg) != FALSE;
}

MessageResult CBaseDialog::ProcessMessage(const Message& m) {
  return winui::Dispatch(*this, MESSAGE_MAP, m);
}

LRESULT CBaseDialog::CommonInit() {
  SetWindowLongW(handle(), GWL_STYLE,
                 GetWindowLongW(handle(), GWL_STYLE) & ~WS_SYSMENU);
  winui::CentreWindow(handle());
  if (closeButton_.images == nullptr) {
    closeButton_.images = LoadCaptionButtonImages(IDB_CAPTION_CLOSE);
  }
  return FALSE;
}

MessageResult CBaseDialog::OnInitDialog(const Message&) { return CommonInit(); }

void CBaseDialog::PaintFrame(bool active) {
  const int offset = ShadeOffset(active);
  const FrameMetrics metrics = DialogFrameMetrics(
      HasThickFrame(handle()), SystemBorderSizes(),
      GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CYMENU));
  frameBorder_ = {metrics.borderWidth, metrics.borderHeight};
  captionHeight_ = metrics.captionHeight;
  if (icon_ == nullptr) icon_ = LoadCaptionIcon(IDR_MAINFRAME);
  UseAsSmallIcon(handle(), icon_);

  RECT window{};
  GetWindowRect(handle(), &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  HDC dc = GetWindowDC(handle());
  PaintFrameFills(dc, width, height, metrics, offset);
  DrawCaptionTitle(dc, DialogTitleRect(metrics), captionTitle);
  if (closeButton_.images != nullptr) {
    closeButton_.rect = DialogCloseRect(width, metrics);
    DrawCaptionButton(dc, closeButton_, CAPTION_IMAGE_NORMAL);
  }
  DrawCaptionIcon(dc, icon_, metrics.borderHeight);
  ReleaseDC(handle(), dc);
}

CaptionButtonHit CBaseDialog::HitTest(LPARAM lParam) const {
  const POINT point = NonClientPoint(handle(), lParam);
  return DialogHitTest(closeButton_.rect, point.x, point.y);
}

MessageResult CBaseDialog::OnNcPaint(const Message& m) {
  PaintFrame(m.wParam != 0);
  return 0;
}

MessageResult CBaseDialog::OnNcMouseMove(const Message& m) {
  HDC dc = GetWindowDC(handle());
  DrawCaptionButton(dc, closeButton_, CAPTION_IMAGE_NORMAL);
  if (HitTest(m.lParam) == CAPTION_HIT_CLOSE) {
    DrawCaptionButton(dc, closeButton_, CAPTION_IMAGE_HOT);
    SetArrowCursor();
  }
  ReleaseDC(handle(), dc);
  return 1;
}

MessageResult CBaseDialog::OnNcLButtonDown(const Message& m) {
  const CaptionButtonHit hit = HitTest(m.lParam);
  if (hit != CAPTION_HIT_NONE) {
    pressedButton_ = hit;
    return 1;
  }
  return DefWindowProcW(handle(), m.message, m.wParam, m.lParam);
}

MessageResult CBaseDialog::OnNcLButtonUp(const Message& m) {
  if (ReleaseAction(pressedButton_, HitTest(m.lParam), false) ==
      CaptionAction::CLOSE) {
    SendMessageW(handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  }
  pressedButton_ = CAPTION_HIT_NONE;
  return 1;
}

MessageResult CBaseDialog::OnNcActivate(const Message& m) {
  SendMessageW(handle(), WM_NCPAINT, m.wParam, 0);
  return 1;
}

MessageResult CBaseDialog::OnPaint(const Message&) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(handle(), &paint);
  RECT client{};
  GetClientRect(handle(), &client);
  HBRUSH brush = CreateSolidBrush(DIALOG_BACKGROUND);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  EndPaint(handle(), &paint);
  return 0;
}

MessageResult CBaseDialog::OnCtlColorStatic(const Message& m) {
  SetBkColor(reinterpret_cast<HDC>(m.wParam), DIALOG_BACKGROUND);
  return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}
