// Messages to windows of another process. The target may be busy or hung,
// so every synchronous send has a time limit and reports whether it got an
// answer.
#pragma once

#include <windows.h>

#include <string>

namespace probe {

bool SendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
            LRESULT* result = nullptr);
// The control's own text (WM_GETTEXT, which the system copies between the
// processes); empty when the window does not answer.
std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
// Window class names compare without regard to case.
bool HasClass(HWND window, const wchar_t* className);
int ControlId(HWND window);

}  // namespace probe
