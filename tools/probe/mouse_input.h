// Mouse clicks posted to a window, in its client coordinates. The control
// takes them through its ordinary mouse handling, so it notifies its parent
// exactly as after a user's click; the real pointer does not move.
#pragma once

#include <windows.h>

namespace probe {

POINT CentreOf(const RECT& rect);
// Whether a user could click the window: it and every window above it are
// enabled and visible. Posted clicks would reach a disabled control too.
bool AcceptsClicks(HWND window);
bool PostClick(HWND window, POINT at);
bool PostDoubleClick(HWND window, POINT at);

}  // namespace probe
