#include "app/shell/main_frame.h"

#include "app/dialogs/about_dialog.h"
#include "app/messages/window_messages.h"
#include "app/shell/frame_size.h"
#include "res/resource.h"
#include "winui/centre.h"
#include "winui/common_controls.h"

using winui::Message;
using winui::MessageResult;

namespace {

constexpr DWORD FRAME_STYLE = 0x06CF0000;
constexpr DWORD FRAME_EX_STYLE = 0x00040100;
constexpr DWORD MENU_BAR_STYLE = 0x5600014C;
constexpr DWORD TOOL_BAR_STYLE = 0x5600094C;
constexpr DWORD REBAR_STYLE = 0x56002640;
constexpr UINT BAR_ID = 0xE800;
constexpr UINT FIRST_BAND_ID = 0xEB00;

winui::WindowClass frameClass{IDR_MAINFRAME, 0};

}  // namespace

const winui::MessageMapEntry<CMainFrame> CMainFrame::MESSAGE_MAP[] = {
    winui::OnMessage(WM_CREATE, &Self::OnCreate),
    winui::OnMessage(WM_DESTROY, &Self::OnDestroy),
    winui::OnCommand(ID_APP_EXIT, &Self::OnFileExit),
    winui::OnCommand(ID_HELP_ABOUT, &Self::OnHelpAbout),
    winui::OnAnyMessage(&Self::OnFrameDefault),
    winui::OnMessage(WM_NCPAINT, &Self::OnNcPaint),
    winui::OnMessage(WM_NCMOUSEMOVE, &Self::OnNcMouseMove),
    winui::OnMessage(WM_NCLBUTTONUP, &Self::OnNcLButtonUp),
    winui::OnMessage(WM_NCLBUTTONDOWN, &Self::OnNcLButtonDown),
    winui::OnMessage(WM_NCACTIVATE, &Self::OnNcActivate),
    winui::OnMessage(WM_GETMINMAXINFO, &Self::OnGetMinMaxInfo),
    winui::OnCommand(ID_DEVICE_SEARCH, &Self::OnToolCommand),
    winui::OnCommand(ID_DEVICE_IP_CHANGE, &Self::OnToolCommand),
    winui::OnCommand(ID_DEVICE_WEB_PAGE, &Self::OnToolCommand),
    winui::OnMessage(WM_ENABLE_TOOL, &Self::OnEnableTool),
    winui::OnMessage(WM_DISABLE_TOOL, &Self::OnDisableTool),
    winui::OnMessage(WM_MOUSEMOVE, &Self::OnMouseMove),
    winui::OnMessage(WM_SIZE, &Self::OnSize),
};

HWND CMainFrame::CreateMainWindow() {
  wchar_t title[64] = L"";
  LoadStringW(GetModuleHandleW(nullptr), IDR_MAINFRAME, title, 64);
  HMENU menu =
      LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
  return CreateFrame(frameClass, title, FRAME_STYLE, FRAME_EX_STYLE, menu,
                     IDR_MAINFRAME);
}

CMainFrame::~CMainFrame() {
  // While the members still live, so that the window's last messages find
  // them.
  if (handle() != nullptr) DestroyWindow(handle());
}

MessageResult CMainFrame::ProcessMessage(const Message& m) {
  return winui::Dispatch(*this, MESSAGE_MAP, m);
}

bool CMainFrame::PreTranslateMessage(MSG& msg) {
  if (accelerators() != nullptr &&
      TranslateAcceleratorW(handle(), accelerators(), &msg)) {
    return true;
  }
  if (msg.message == WM_MOUSEMOVE) {
    SendMessageW(handle(), WM_MOUSEMOVE, msg.wParam, msg.lParam);
  }
  return view_.handle() != nullptr && IsDialogMessageW(view_.handle(), &msg);
}

MessageResult CMainFrame::OnCreate(const Message&) {
  commandBar_.Create(handle(), MENU_BAR_STYLE);
  commandBar_.AttachMenu(GetMenu(handle()));
  SetMenu(handle(), nullptr);

  toolBar_.Create(handle(), TOOL_BAR_STYLE, BAR_ID);
  HWND rebar = CreateRebar();
  SetBar(rebar);
  const SIZE menuSize = commandBar_.IdealSize();
  AddBand(rebar, commandBar_.handle(), menuSize.cx, menuSize.cx, menuSize.cy,
          false);
  AddBand(rebar, toolBar_.ToolBar(), toolBar_.BandWidth(),
          toolBar_.FirstButtonRight(), toolBar_.ButtonHeight(), true);

  view_.CreateChild(handle());
  SetClient(view_.handle());
  view_.SetFrame(handle());

  if (winui::MessageLoop* loop = winui::MessageLoop::Current()) {
    loop->AddMessageFilter(this);
    loop->AddMessageFilter(&commandBar_);
  }
  // Windows show only their outline while dragged, desktop-wide, for good.
  SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, 0, nullptr, 0);
  SetWindowLongW(handle(), GWL_STYLE,
                 GetWindowLongW(handle(), GWL_STYLE) & ~WS_SYSMENU);

  caption_.BuildImages();
  toolBar_.InstallImages();
  toolBar_.CreateTips(handle());
  toolBar_.Enable(ID_DEVICE_IP_CHANGE, false);
  toolBar_.Enable(ID_DEVICE_WEB_PAGE, false);
  caption_.Reset();

  SetWindowPos(handle(), nullptr, 0, 0, FRAME_WIDTH, FRAME_HEIGHT,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  winui::CentreWindow(handle());
  return 0;
}

HWND CMainFrame::CreateRebar() {
  HWND rebar = CreateWindowExW(
      0, REBARCLASSNAMEW, nullptr, REBAR_STYLE, 0, 0, 100, 100, handle(),
      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(BAR_ID)),
      GetModuleHandleW(nullptr), nullptr);
  if (rebar != nullptr) {
    REBARINFO info{};
    info.cbSize = sizeof(info);
    SendMessageW(rebar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
  }
  return rebar;
}

void CMainFrame::AddBand(HWND rebar, HWND child, int width, int minWidth,
                         int height, bool newRow) {
  if (rebar == nullptr || child == nullptr) return;
  const UINT bands =
      static_cast<UINT>(SendMessageW(rebar, RB_GETBANDCOUNT, 0, 0));
  REBARBANDINFOW band{};
  band.cbSize = REBARBANDINFOW_V6_SIZE;
  band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_ID |
               RBBIM_SIZE | RBBIM_IDEALSIZE;
  band.fStyle = RBBS_CHILDEDGE | RBBS_USECHEVRON | (newRow ? RBBS_BREAK : 0);
  band.hwndChild = child;
  band.cx = static_cast<UINT>(width);
  band.cxIdeal = static_cast<UINT>(width);
  band.cxMinChild = static_cast<UINT>(minWidth);
  band.cyMinChild = static_cast<UINT>(height);
  band.wID = FIRST_BAND_ID + bands;
  SendMessageW(rebar, RB_INSERTBANDW, static_cast<WPARAM>(-1),
               reinterpret_cast<LPARAM>(&band));
}

MessageResult CMainFrame::OnDestroy(const Message&) {
  if (winui::MessageLoop* loop = winui::MessageLoop::Current()) {
    loop->RemoveMessageFilter(this);
    loop->RemoveMessageFilter(&commandBar_);
  }
  caption_.Release();
  toolBar_.Forget();
  return std::nullopt;
}

MessageResult CMainFrame::OnFileExit(const Message&) {
  PostMessageW(handle(), WM_CLOSE, 0, 0);
  return 0;
}

MessageResult CMainFrame::OnHelpAbout(const Message&) {
  CAboutDlg about;
  about.RunModal(GetActiveWindow());
  return 0;
}

MessageResult CMainFrame::OnFrameDefault(const Message& m) {
  return FrameDefault(m);
}

MessageResult CMainFrame::OnNcPaint(const Message& m) {
  caption_.Paint(handle(), m.wParam != 0);
  return 0;
}

MessageResult CMainFrame::OnNcMouseMove(const Message& m) {
  caption_.OnMouseMove(handle(), m.lParam);
  return 1;
}

MessageResult CMainFrame::OnNcLButtonUp(const Message& m) {
  caption_.OnButtonUp(handle(), m.lParam);
  return 1;
}

MessageResult CMainFrame::OnNcLButtonDown(const Message& m) {
  if (caption_.OnButtonDown(handle(), m.lParam)) return 1;
  return std::nullopt;
}

MessageResult CMainFrame::OnNcActivate(const Message& m) {
  DefaultProcess(m);
  SendMessageW(handle(), WM_NCPAINT, m.wParam, 0);
  return 1;
}

MessageResult CMainFrame::OnGetMinMaxInfo(const Message& m) {
  auto* info = reinterpret_cast<MINMAXINFO*>(m.lParam);
  const TrackSize size =
      RaiseMinimumTrackSize({static_cast<int>(info->ptMinTrackSize.x),
                             static_cast<int>(info->ptMinTrackSize.y)});
  info->ptMinTrackSize = {size.width, size.height};
  return 0;
}

MessageResult CMainFrame::OnToolCommand(const Message& m) {
  toolBar_.HideTips();
  SendMessageW(view_.handle(), WM_VIEW_COMMAND, LOWORD(m.wParam), 0);
  return 0;
}

MessageResult CMainFrame::OnEnableTool(const Message& m) {
  toolBar_.Enable(static_cast<UINT>(m.wParam), true);
  return 0;
}

MessageResult CMainFrame::OnDisableTool(const Message& m) {
  toolBar_.Enable(static_cast<UINT>(m.wParam), false);
  return 0;
}

MessageResult CMainFrame::OnMouseMove(const Message&) {
  toolBar_.TrackPointer();
  return 0;
}

MessageResult CMainFrame::OnSize(const Message& m) {
  caption_.OnSize(handle(), m.wParam);
  return 0;
}
