// The test target's modal dialog, with the kinds of controls the program's
// IP change dialogs have.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Runs the dialog owned by `owner`. Returns 1 with "Change" and `summary`
// holding "ADDRESS PORT MODE" as entered, 2 with "Close". `report` learns
// of every selection in the combo box.
INT_PTR RunTargetDialog(HWND owner,
                        const std::function<void(const std::wstring&)>& report,
                        std::wstring& summary);
