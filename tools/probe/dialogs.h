// Modal dialogs and message boxes of the target process, and their controls.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace probe {

// Top-level dialog windows (class "#32770") of the process that are visible
// and enabled, topmost first. A dialog under a message box of its own is
// disabled, so the first one is the one the user can act on.
std::vector<HWND> OpenDialogs(DWORD processId);

// A dialog made of texts, icons and push buttons with the system's answer
// ids (IDOK ... IDCONTINUE) only, as the system's message box is.
bool IsMessageBox(HWND dialog);

// The dialog's direct children in z-order (the order of its template). The
// parts of composite controls, such as the fields of an IP address control,
// are not listed.
std::vector<HWND> ChildControls(HWND dialog);

bool IsPushButton(HWND control);
// A static that shows an icon or a bitmap instead of a text.
bool IsPicture(HWND control);

// The message text of a message box: the text control that is not an icon.
std::wstring MessageBoxText(HWND dialog);

// The window that has the keyboard focus in the dialog's thread.
HWND FocusOf(HWND dialog);

// The address of an IP address control as a.b.c.d, and how many of its four
// fields are filled in.
struct IpAddress {
  DWORD value;
  int filledFields;
};
std::optional<IpAddress> ReadIpAddress(HWND control, HANDLE process);

// The texts of a combo box's list.
std::vector<std::wstring> ComboItems(HWND combo);

}  // namespace probe
