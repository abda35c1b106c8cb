// The program's private window messages, all in one place. The values are
// fixed: the frame and view messages and the progress message are also sent
// by outside tools that drive the program.
#pragma once

#include <windows.h>

// Frame to view: run command wParam (search, IP change or web page).
constexpr UINT WM_VIEW_COMMAND = WM_USER + 1;
// View to frame: enable or disable the toolbar button of command wParam.
constexpr UINT WM_ENABLE_TOOL = WM_USER + 2;
constexpr UINT WM_DISABLE_TOOL = WM_USER + 3;

// To the view from any thread: replies wait to be taken in.
constexpr UINT WM_ROWS_ADDED = WM_USER + 10;
// Multi-change pass to view: wParam devices are done; lParam is the number
// of adapters the last request left through (0: it never left).
constexpr UINT WM_MULTI_STEP = WM_USER + 11;
// View to itself: bring the list a step closer to the table.
constexpr UINT WM_LIST_SYNC = WM_USER + 12;

// View to the IP change progress dialog, sent (not posted): wParam is the
// number of devices done so far; answered with 0. Another window than the
// view's, so the value may repeat WM_VIEW_COMMAND's.
constexpr UINT WM_CHANGE_PROGRESS = WM_USER + 1;
