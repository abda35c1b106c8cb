// The main frame's self-painted caption and border: grey band and borders,
// title, icon, and the minimize, maximize/restore and close buttons with
// their hover, press and release handling and the maximized bookkeeping.
#pragma once

#include <windows.h>

#include "app/dialogs/caption_paint.h"

enum CaptionButtonSlot : int {
  SLOT_CLOSE = 0,
  SLOT_MINIMIZE = 1,
  SLOT_MAXIMIZE = 2,
  SLOT_RESTORE = 3,
  SLOT_COUNT = 4,
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
  int PressedButton() const { return pressedButton_; }
  bool Maximized() const { return maximized_ != 0; }
  SIZE FrameBorder() const { return frameBorder_; }
  int MenuHeight() const { return menuHeight_; }

 private:
  CaptionButtonHit HitTest(HWND frame, LPARAM lParam) const;
  const CaptionButton& ShownSizeButton() const;

  int pressedButton_ = CAPTION_HIT_NONE;
  CaptionButton captionButtons[SLOT_COUNT]{};
  SIZE frameBorder_{};
  int captionHeight_ = 0;
  int menuHeight_ = 0;
  LONG maximized_ = 0;
  HICON icon_ = nullptr;
};
