// The main frame's self-painted caption and border: grey band and borders,
// title, icon, and the minimize, maximize/restore and close buttons with
// their hover, press and release handling and the maximized bookkeeping.
#pragma once

#include <windows.h>

#include "dialogs/caption_paint.h"

enum CaptionButtonSlot : int {
  kSlotClose = 0,
  kSlotMinimize = 1,
  kSlotMaximize = 2,
  kSlotRestore = 3,
  kSlotCount = 4,
};

class FrameCaption {
 public:
  FrameCaption() = default;
  FrameCaption(const FrameCaption&) = delete;
  FrameCaption& operator=(const FrameCaption&) = delete;
  ~FrameCaption();

  void BuildImages();
  void Release();
  void Reset();

  void Paint(HWND frame, bool active);
  void OnMouseMove(HWND frame, LPARAM lParam);
  // Answers whether a caption button took the press.
  bool OnButtonDown(HWND frame, LPARAM lParam);
  void OnButtonUp(HWND frame, LPARAM lParam);
  void OnSize(HWND frame, WPARAM sizeType);

  const CaptionButton& Button(CaptionButtonSlot slot) const {
    return captionButtons[slot];
  }
  int PressedButton() const { return pressedButton; }
  bool Maximized() const { return maximized != 0; }
  SIZE FrameBorder() const { return frameBorder; }
  int MenuHeight() const { return menuHeight; }

 private:
  CaptionButtonHit HitTest(HWND frame, LPARAM lParam) const;
  const CaptionButton& ShownSizeButton() const;

  int pressedButton = kCaptionHitNone;
  CaptionButton captionButtons[kSlotCount]{};
  SIZE frameBorder{};
  int captionHeight = 0;
  int menuHeight = 0;
  LONG maximized = 0;
  HICON icon = nullptr;
};
