// The frame's command buttons: toolbars below the frame that know a command.
#pragma once

#include <windows.h>

#include <optional>

namespace probe {

struct ToolButton {
  HWND toolbar;
  int index;
  BYTE state;  // TBSTATE_* flags
};

// The button with command id `commandId` on the first toolbar below `frame`
// that has one; a menu bar built as a toolbar has no such command.
std::optional<ToolButton> FindToolButton(HWND frame, int commandId);
bool IsEnabled(const ToolButton& button);
// The button's rectangle in its toolbar's client coordinates.
std::optional<RECT> ToolButtonRect(const ToolButton& button, HANDLE process);

}  // namespace probe
