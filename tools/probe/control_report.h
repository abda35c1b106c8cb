// The JSON line that describes one control of a dialog: what a user sees of
// it (text, enabled, visible, focus) and the value it holds.
#pragma once

#include <windows.h>

#include "core/text/json_line.h"

namespace probe {

// `process` is the control's process, opened for its memory (IP address
// controls answer through a pointer); `focus` is the window with the
// keyboard focus.
JsonLine DescribeControl(HWND control, HANDLE process, HWND focus);

}  // namespace probe
