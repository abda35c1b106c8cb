#include "tools/probe/mouse_input.h"

namespace probe {

namespace {

LPARAM PointParam(POINT at) { return MAKELPARAM(at.x, at.y); }

}  // namespace

POINT CentreOf(const RECT& rect) {
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

bool AcceptsClicks(HWND window) {
  if (!IsWindowVisible(window)) return false;
  for (HWND step = window; step != nullptr; step = GetParent(step)) {
    if (!IsWindowEnabled(step)) return false;
    if ((GetWindowLongPtrW(step, GWL_STYLE) & WS_CHILD) == 0) break;
  }
  return true;
}

bool PostClick(HWND window, POINT at) {
  const LPARAM where = PointParam(at);
  return PostMessageW(window, WM_MOUSEMOVE, 0, where) &&
         PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where) &&
         PostMessageW(window, WM_LBUTTONUP, 0, where);
}

bool PostDoubleClick(HWND window, POINT at) {
  const LPARAM where = PointParam(at);
  return PostClick(window, at) &&
         PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, where) &&
         PostMessageW(window, WM_LBUTTONUP, 0, where);
}

}  // namespace probe
