#include "app/shell/frame_caption.h"

#include "res/resource.h"

namespace {

constexpr wchar_t TITLE[] = L"Quellan";

}  // namespace

FrameCaption::~FrameCaption() {
  Release();
  if (icon_ != nullptr) DestroyIcon(icon_);
}

void FrameCaption::BuildImages() {
  captionButtons[SLOT_CLOSE].images =
      LoadCaptionButtonImages(IDB_CAPTION_CLOSE);
  captionButtons[SLOT_MAXIMIZE].images =
      LoadCaptionButtonImages(IDB_CAPTION_MAXIMIZE);
  captionButtons[SLOT_MINIMIZE].images =
      LoadCaptionButtonImages(IDB_CAPTION_MINIMIZE);
  captionButtons[SLOT_RESTORE].images =
      LoadCaptionButtonImages(IDB_CAPTION_RESTORE);
}

void FrameCaption::Release() {
  for (CaptionButton& button : captionButtons) ReleaseCaptionButton(button);
}

void FrameCaption::Reset() {
  maximized_ = 0;
  pressedButton_ = CAPTION_HIT_NONE;
}

const CaptionButton& FrameCaption::ShownSizeButton() const {
  return captionButtons[maximized_ != 0 ? SLOT_RESTORE : SLOT_MAXIMIZE];
}

void FrameCaption::Paint(HWND frame, bool active) {
  const int offset = ShadeOffset(active);
  const FrameMetrics metrics = MainFrameMetrics(
      HasThickFrame(frame), SystemBorderSizes(), GetSystemMetrics(SM_CYCAPTION),
      GetSystemMetrics(SM_CYMENU));
  frameBorder_ = {metrics.borderWidth, metrics.borderHeight};
  captionHeight_ = metrics.captionHeight;
  menuHeight_ = metrics.menuHeight;
  if (icon_ == nullptr) icon_ = LoadCaptionIcon(IDR_MAINFRAME);
  UseAsSmallIcon(frame, icon_);

  RECT window{};
  GetWindowRect(frame, &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  HDC dc = GetWindowDC(frame);
  PaintFrameFills(dc, width, height, metrics, offset);
  DrawCaptionTitle(dc, MainFrameTitleRect(metrics), TITLE);

  const FrameButtonRects rects = MainFrameButtonRects(width, metrics);
  const CaptionRect slotRects[SLOT_COUNT] = {rects.close, rects.minimize,
                                             rects.maximize, rects.restore};
  for (int slot = 0; slot < SLOT_COUNT; ++slot) {
    if (captionButtons[slot].images != nullptr) {
      captionButtons[slot].rect = slotRects[slot];
    }
  }
  DrawCaptionButton(dc, captionButtons[SLOT_CLOSE], CAPTION_IMAGE_NORMAL);
  if (maximized_ == 0) {
    DrawCaptionButton(dc, captionButtons[SLOT_MAXIMIZE], CAPTION_IMAGE_NORMAL);
  }
  DrawCaptionButton(dc, captionButtons[SLOT_MINIMIZE], CAPTION_IMAGE_NORMAL);
  if (maximized_ != 0) {
    DrawCaptionButton(dc, captionButtons[SLOT_RESTORE], CAPTION_IMAGE_NORMAL);
  }
  DrawCaptionIcon(dc, icon_, metrics.borderHeight);
  ReleaseDC(frame, dc);
}

CaptionButtonHit FrameCaption::HitTest(HWND frame, LPARAM lParam) const {
  const POINT point = NonClientPoint(frame, lParam);
  const FrameButtonRects rects{
      captionButtons[SLOT_CLOSE].rect, captionButtons[SLOT_MINIMIZE].rect,
      captionButtons[SLOT_MAXIMIZE].rect, captionButtons[SLOT_RESTORE].rect};
  return MainFrameHitTest(rects, maximized_ != 0, point.x, point.y);
}

void FrameCaption::OnMouseMove(HWND frame, LPARAM lParam) {
  const CaptionButtonHit hit = HitTest(frame, lParam);
  HDC dc = GetWindowDC(frame);
  DrawCaptionButton(dc, captionButtons[SLOT_MINIMIZE], CAPTION_IMAGE_NORMAL);
  DrawCaptionButton(dc, ShownSizeButton(), CAPTION_IMAGE_NORMAL);
  DrawCaptionButton(dc, captionButtons[SLOT_CLOSE], CAPTION_IMAGE_NORMAL);
  switch (hit) {
    case CAPTION_HIT_MINIMIZE:
      DrawCaptionButton(dc, captionButtons[SLOT_MINIMIZE], CAPTION_IMAGE_HOT);
      break;
    case CAPTION_HIT_MAXIMIZE:
      DrawCaptionButton(dc, ShownSizeButton(), CAPTION_IMAGE_HOT);
      break;
    case CAPTION_HIT_CLOSE:
      DrawCaptionButton(dc, captionButtons[SLOT_CLOSE], CAPTION_IMAGE_HOT);
      SetArrowCursor();
      break;
    default:
      break;
  }
  ReleaseDC(frame, dc);
}

bool FrameCaption::OnButtonDown(HWND frame, LPARAM lParam) {
  const CaptionButtonHit hit = HitTest(frame, lParam);
  if (hit == CAPTION_HIT_NONE) return false;
  pressedButton_ = hit;
  return true;
}

void FrameCaption::OnButtonUp(HWND frame, LPARAM lParam) {
  const CaptionAction action =
      ReleaseAction(pressedButton_, HitTest(frame, lParam), maximized_ != 0);
  pressedButton_ = CAPTION_HIT_NONE;
  switch (action) {
    case CaptionAction::MINIMIZE:
      SendMessageW(frame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      break;
    case CaptionAction::MAXIMIZE:
      SendMessageW(frame, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
      break;
    case CaptionAction::RESTORE:
      SendMessageW(frame, WM_SYSCOMMAND, SC_RESTORE, 0);
      break;
    case CaptionAction::CLOSE:
      SendMessageW(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case CaptionAction::NONE:
      break;
  }
}

void FrameCaption::OnSize(HWND frame, WPARAM sizeType) {
  if (sizeType != SIZE_RESTORED && sizeType != SIZE_MAXIMIZED) return;
  maximized_ = sizeType == SIZE_MAXIMIZED ? 1 : 0;
  SendMessageW(frame, WM_NCPAINT, 0, 0);
}
