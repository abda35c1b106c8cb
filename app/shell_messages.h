// Private messages between the main frame and the device view.
#pragma once

#include <windows.h>

// Frame to view: run command wParam (search, IP change or web page).
constexpr UINT WM_VIEW_COMMAND = WM_USER + 1;
// View to frame: enable or disable the toolbar button of command wParam.
constexpr UINT WM_ENABLE_TOOL = WM_USER + 2;
constexpr UINT WM_DISABLE_TOOL = WM_USER + 3;
