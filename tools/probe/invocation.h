// What every command gets: its own arguments and the common options, and the
// helpers they share for reading them and for reporting.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "core/text/json_line.h"
#include "tools/probe/mouse_input.h"
#include "tools/probe/window_find.h"

namespace probe {

// The probe's exit codes.
enum ExitCode : int {
  SUCCESS = 0,
  NOT_THERE = 1,  // the window, control, row or state asked for is not there
  USAGE_ERROR = 2,
  NO_WINDOW_SYSTEM = 3,  // this process can not see any window at all
};

struct Invocation {
  std::vector<std::wstring> args;  // after the command's name
  DWORD timeoutMs;
  DWORD processId;  // 0: whichever process shows the frame
  // The first argument as a number, read by main() where the command's help
  // names it ID (a command or control id) or ROW or COLUMN (an index).
  int number = 0;
};

// The frame, waited for up to the timeout; an explanation on stderr if not.
std::optional<QuellanWindows> AwaitQuellan(const Invocation& invocation);
// A decimal number, or hexadecimal with "0x"; nothing else may follow.
bool ParseNumber(const std::wstring& text, long& value);
bool ParseOnOff(const std::wstring& text, bool& on);
// A window handle as a plain number, ready to be passed on.
std::string HandleJson(HWND window);
// One explanation line on stderr; stdout carries only results.
void Complain(const std::string& what);
// Clicks the middle of `rect` in `window` and prints `line` with the point
// clicked; or, where the rectangle is unknown or the window takes no clicks,
// says that `what` can not be clicked.
int ClickMiddle(HWND window, const std::optional<RECT>& rect, JsonLine line,
                const std::string& what,
                bool (*click)(HWND window, POINT at) = PostClick);

}  // namespace probe
