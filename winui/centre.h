#pragma once

#include <windows.h>

namespace winui {

// Centres `window` over its owner when the owner is visible and not
// minimised, otherwise on the work area of the nearest monitor, then moves
// it into that monitor's work area.
void CentreWindow(HWND window);

}  // namespace winui
