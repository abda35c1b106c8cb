// Finding the program's windows from outside its process.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

namespace probe {

// The main frame and the device view with its list.
struct QuellanWindows {
  HWND frame;
  HWND view;
  HWND list;
  DWORD processId;
};

// The device list's control id inside the view.
constexpr int DEVICE_LIST_ID = 1000;

// The main frame: a visible top-level window owned by no other window,
// titled "Quellan", with the device list somewhere below it. A title alone
// would also match a message box or another program's window. With a
// non-zero `processId` only that process's frame counts.
std::optional<QuellanWindows> FindQuellan(DWORD processId);

// Whether this process reaches the window system at all. Under Wine a
// process now and then starts without it: every window call then fails, and
// a search would wrongly report the frame as missing.
bool WindowSystemReachable();

// Every window below `root` (children, grandchildren, ...) of the window
// class `className`, in the order the system enumerates them.
std::vector<HWND> DescendantsOfClass(HWND root, const wchar_t* className);

// The desktop's top-level windows, of every process, in the system's order.
std::vector<HWND> TopLevelWindows();
// The process that shows `window`.
DWORD ProcessOf(HWND window);

}  // namespace probe
