// The main frame's outer size. No window system needed.
#pragma once

constexpr int FRAME_WIDTH = 1024;
constexpr int FRAME_HEIGHT = 768;

struct TrackSize {
  int width;
  int height;
};

// The frame can not be dragged below 1024 x 768; a larger minimum width
// that the system asks for stays.
constexpr TrackSize RaiseMinimumTrackSize(TrackSize proposed) {
  return {proposed.width <= FRAME_WIDTH ? FRAME_WIDTH : proposed.width,
          FRAME_HEIGHT};
}
