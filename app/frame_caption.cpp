#include "app/frame_caption.h"

#include "res/resource.h"

namespace {

constexpr wchar_t kTitle[] = L"Quellan";

}  // namespace

FrameCaption::~FrameCaption() {
  Release();
  if (icon != nullptr) DestroyIcon(icon);
}

void FrameCaption::BuildImages() {
  captionButtons[kSlotClose].images =
      LoadCaptionButtonImages(IDB_CAPTION_CLOSE);
  captionButtons[kSlotMaximize].images =
      LoadCaptionButtonImages(IDB_CAPTION_MAXIMIZE);
  captionButtons[kSlotMinimize].images =
      LoadCaptionButtonImages(IDB_CAPTION_MINIMIZE);
  captionButtons[kSlotRestore].images =
      LoadCaptionButtonImages(IDB_CAPTION_RESTORE);
}

void FrameCaption::Release() {
  for (CaptionButton& button : captionButtons) ReleaseCaptionButton(button);
}

void FrameCaption::Reset() {
  maximized = 0;
  pressedButton = kCaptionHitNone;
}

const CaptionButton& FrameCaption::ShownSizeButton() const {
  return captionButtons[maximized != 0 ? kSlotRestore : kSlotMaximize];
}

void FrameCaption::Paint(HWND frame, bool active) {
  const int offset = ShadeOffset(active);
  const FrameMetrics metrics = MainFrameMetrics(
      HasThickFrame(frame), SystemBorderSizes(), GetSystemMetrics(SM_CYCAPTION),
      GetSystemMetrics(SM_CYMENU));
  frameBorder = {metrics.borderWidth, metrics.borderHeight};
  captionHeight = metrics.captionHeight;
  menuHeight = metrics.menuHeight;
  if (icon == nullptr) icon = LoadCaptionIcon(IDR_MAINFRAME);
  UseAsSmallIcon(frame, icon);

  RECT window{};
  GetWindowRect(frame, &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  HDC dc = GetWindowDC(frame);
  PaintFrameFills(dc, width, height, metrics, offset);
  DrawCaptionTitle(dc, MainFrameTitleRect(metrics), kTitle);

  const FrameButtonRects rects = MainFrameButtonRects(width, metrics);
  const CaptionRect slotRects[kSlotCount] = {rects.close, rects.minimize,
                                             rects.maximize, rects.restore};
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (captionButtons[slot].images != nullptr) {
      captionButtons[slot].rect = slotRects[slot];
    }
  }
  DrawCaptionButton(dc, captionButtons[kSlotClose], kCaptionImageNormal);
  if (maximized == 0) {
    DrawCaptionButton(dc, captionButtons[kSlotMaximize], kCaptionImageNormal);
  }
  DrawCaptionButton(dc, captionButtons[kSlotMinimize], kCaptionImageNormal);
  if (maximized != 0) {
    DrawCaptionButton(dc, captionButtons[kSlotRestore], kCaptionImageNormal);
  }
  DrawCaptionIcon(dc, icon, metrics.borderHeight);
  ReleaseDC(frame, dc);
}

CaptionButtonHit FrameCaption::HitTest(HWND frame, LPARAM lParam) const {
  const POINT point = NonClientPoint(frame, lParam);
  const FrameButtonRects rects{
      captionButtons[kSlotClose].rect, captionButtons[kSlotMinimize].rect,
      captionButtons[kSlotMaximize].rect, captionButtons[kSlotRestore].rect};
  return MainFrameHitTest(rects, maximized != 0, point.x, point.y);
}

void FrameCaption::OnMouseMove(HWND frame, LPARAM lParam) {
  const CaptionButtonHit hit = HitTest(frame, lParam);
  HDC dc = GetWindowDC(frame);
  DrawCaptionButton(dc, captionButtons[kSlotMinimize], kCaptionImageNormal);
  DrawCaptionButton(dc, ShownSizeButton(), kCaptionImageNormal);
  DrawCaptionButton(dc, captionButtons[kSlotClose], kCaptionImageNormal);
  switch (hit) {
    case kCaptionHitMinimize:
      DrawCaptionButton(dc, captionButtons[kSlotMinimize], kCaptionImageHot);
      break;
    case kCaptionHitMaximize:
      DrawCaptionButton(dc, ShownSizeButton(), kCaptionImageHot);
      break;
    case kCaptionHitClose:
      DrawCaptionButton(dc, captionButtons[kSlotClose], kCaptionImageHot);
      SetArrowCursor();
      break;
    default:
      break;
  }
  ReleaseDC(frame, dc);
}

bool FrameCaption::OnButtonDown(HWND frame, LPARAM lParam) {
  const CaptionButtonHit hit = HitTest(frame, lParam);
  if (hit == kCaptionHitNone) return false;
  pressedButton = hit;
  return true;
}

void FrameCaption::OnButtonUp(HWND frame, LPARAM lParam) {
  const CaptionAction action =
      ReleaseAction(pressedButton, HitTest(frame, lParam), maximized != 0);
  pressedButton = kCaptionHitNone;
  switch (action) {
    case CaptionAction::kMinimize:
      SendMessageW(frame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      break;
    case CaptionAction::kMaximize:
      SendMessageW(frame, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
      break;
    case CaptionAction::kRestore:
      SendMessageW(frame, WM_SYSCOMMAND, SC_RESTORE, 0);
      break;
    case CaptionAction::kClose:
      SendMessageW(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case CaptionAction::kNone:
      break;
  }
}

void FrameCaption::OnSize(HWND frame, WPARAM sizeType) {
  if (sizeType != SIZE_RESTORED && sizeType != SIZE_MAXIMIZED) return;
  maximized = sizeType == SIZE_MAXIMIZED ? 1 : 0;
  SendMessageW(frame, WM_NCPAINT, 0, 0);
}
