// Geometry, grey levels and hit testing of the self-painted window frames
// of the main window and the dialogs. No window system needed.
#pragma once

#include <cstdint>
#include <vector>

// A rectangle in window coordinates; right and bottom lie outside it.
struct CaptionRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

bool Contains(const CaptionRect& rect, int x, int y);

enum CaptionButtonHit : int {
  CAPTION_HIT_NONE = -1,
  CAPTION_HIT_MINIMIZE = 0,
  CAPTION_HIT_MAXIMIZE = 1,  // maximize or restore, whichever is shown
  CAPTION_HIT_CLOSE = 2,
};

// Border width and height, caption height and menu height in pixels.
struct FrameMetrics {
  int borderWidth;
  int borderHeight;
  int captionHeight;
  int menuHeight;
};

// The sizing border for a thick frame, else the dialog border; the dialogs
// paint their dialog border two pixels taller.
struct BorderSystemSizes {
  int frameWidth;
  int frameHeight;
  int dialogFrameWidth;
  int dialogFrameHeight;
};
FrameMetrics MainFrameMetrics(bool thickFrame, const BorderSystemSizes& sizes,
                              int captionHeight, int menuHeight);
FrameMetrics DialogFrameMetrics(bool thickFrame, const BorderSystemSizes& sizes,
                                int captionHeight, int menuHeight);

constexpr int INACTIVE_SHADE = 50;
int ShadeOffset(bool active);
// |v| cut to its low 8 bits.
uint8_t GreyLevel(int value);

// One solid one-pixel-thick fill of the band or a border.
struct GreyFill {
  int x;
  int y;
  int width;
  int height;
  uint8_t level;
};
// The title band rows, then the left, right and bottom border lines, in
// painting order, for a window of `width` x `height`.
std::vector<GreyFill> FrameFills(int width, int height, const FrameMetrics& m,
                                 int shadeOffset);

constexpr int TITLE_RIGHT = 200;
constexpr int TITLE_BOTTOM = 30;
CaptionRect MainFrameTitleRect(const FrameMetrics& m);
CaptionRect DialogTitleRect(const FrameMetrics& m);

constexpr int CAPTION_BUTTON_SIZE = 15;
constexpr int CAPTION_BUTTON_PITCH = 18;
struct FrameButtonRects {
  CaptionRect close;
  CaptionRect minimize;
  CaptionRect maximize;
  CaptionRect restore;
};
FrameButtonRects MainFrameButtonRects(int windowWidth, const FrameMetrics& m);
CaptionRect DialogCloseRect(int windowWidth, const FrameMetrics& m);

CaptionButtonHit MainFrameHitTest(const FrameButtonRects& rects, bool maximized,
                                  int x, int y);
CaptionButtonHit DialogHitTest(const CaptionRect& close, int x, int y);

enum class CaptionAction { NONE, MINIMIZE, MAXIMIZE, RESTORE, CLOSE };
// What a release over `hit` does after a press on `pressed`.
CaptionAction ReleaseAction(int pressed, CaptionButtonHit hit, bool maximized);
