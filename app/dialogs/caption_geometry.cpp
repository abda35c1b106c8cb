#include "app/dialogs/caption_geometry.h"

#include <cstdlib>

bool Contains(const CaptionRect& rect, int x, int y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

FrameMetrics MainFrameMetrics(bool thickFrame, const BorderSystemSizes& sizes,
                              int captionHeight, int menuHeight) {
  if (thickFrame) {
    return {sizes.frameWidth, sizes.frameHeight, captionHeight, menuHeight};
  }
  return {sizes.dialogFrameWidth, sizes.dialogFrameHeight, captionHeight,
          menuHeight};
}

FrameMetrics DialogFrameMetrics(bool thickFrame, const BorderSystemSizes& sizes,
                                int captionHeight, int menuHeight) {
  if (thickFrame) {
    return {sizes.frameWidth, sizes.frameHeight, captionHeight, menuHeight};
  }
  return {sizes.dialogFrameWidth, sizes.dialogFrameHeight + 2, captionHeight,
          menuHeight};
}

int ShadeOffset(bool active) { return active ? 0 : INACTIVE_SHADE; }

uint8_t GreyLevel(int value) {
  return static_cast<uint8_t>(std::abs(value) & 0xFF);
}

std::vector<GreyFill> FrameFills(int width, int height, const FrameMetrics& m,
                                 int shadeOffset) {
  std::vector<GreyFill> fills;
  const int bx = m.borderWidth;
  const int by = m.borderHeight;
  const int mh = m.menuHeight;
  for (int i = 0; i < m.captionHeight + by; ++i) {
    fills.push_back({0, i, width, 1, GreyLevel(shadeOffset + 190 - 10 * i)});
  }
  for (int j = 0; j < bx; ++j) {
    fills.push_back(
        {j, mh + j, 1, height - mh - 2 * j, GreyLevel(20 * j + shadeOffset)});
  }
  for (int k = 0; k <= bx; ++k) {
    fills.push_back({width - k, mh + k, 1, height - mh - 2 * k,
                     GreyLevel(20 * k + shadeOffset)});
  }
  for (int l = 0; l <= by; ++l) {
    fills.push_back(
        {l, height - l - 1, width - 2 * l, 1, GreyLevel(20 * l + shadeOffset)});
  }
  return fills;
}

CaptionRect MainFrameTitleRect(const FrameMetrics& m) {
  const int top =
      m.captionHeight > 22 ? 2 * m.borderHeight - 4 : m.borderHeight - 2;
  return {m.borderWidth + 25, top, TITLE_RIGHT, TITLE_BOTTOM};
}

CaptionRect DialogTitleRect(const FrameMetrics& m) {
  const int top = m.captionHeight > 22 ? 2 * m.borderHeight : m.borderHeight;
  return {m.borderWidth + 30, top, TITLE_RIGHT, TITLE_BOTTOM};
}

namespace {

CaptionRect ButtonAt(int left, int top) {
  return {left, top, left + CAPTION_BUTTON_SIZE, top + CAPTION_BUTTON_SIZE};
}

}  // namespace

FrameButtonRects MainFrameButtonRects(int windowWidth, const FrameMetrics& m) {
  const int top = m.borderHeight;
  const int closeLeft = windowWidth - m.borderWidth - CAPTION_BUTTON_SIZE;
  const int maximizeLeft = closeLeft - CAPTION_BUTTON_PITCH;
  const int minimizeLeft = maximizeLeft - CAPTION_BUTTON_PITCH;
  return {ButtonAt(closeLeft, top), ButtonAt(minimizeLeft, top),
          ButtonAt(maximizeLeft, top), ButtonAt(maximizeLeft, top)};
}

CaptionRect DialogCloseRect(int windowWidth, const FrameMetrics& m) {
  return ButtonAt(windowWidth - m.borderWidth - CAPTION_BUTTON_SIZE,
                  m.borderHeight);
}

CaptionButtonHit MainFrameHitTest(const FrameButtonRects& rects, bool maximized,
                                  int x, int y) {
  if (Contains(rects.minimize, x, y)) return CAPTION_HIT_MINIMIZE;
  if (Contains(maximized ? rects.restore : rects.maximize, x, y)) {
    return CAPTION_HIT_MAXIMIZE;
  }
  if (Contains(rects.close, x, y)) return CAPTION_HIT_CLOSE;
  return CAPTION_HIT_NONE;
}

CaptionButtonHit DialogHitTest(const CaptionRect& close, int x, int y) {
  return Contains(close, x, y) ? CAPTION_HIT_CLOSE : CAPTION_HIT_NONE;
}

CaptionAction ReleaseAction(int pressed, CaptionButtonHit hit, bool maximized) {
  if (pressed != hit) return CaptionAction::NONE;
  switch (hit) {
    case CAPTION_HIT_MINIMIZE:
      return CaptionAction::MINIMIZE;
    case CAPTION_HIT_MAXIMIZE:
      return maximized ? CaptionAction::RESTORE : CaptionAction::MAXIMIZE;
    case CAPTION_HIT_CLOSE:
      return CaptionAction::CLOSE;
    default:
      return CaptionAction::NONE;
  }
}
