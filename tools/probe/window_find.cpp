#include "tools/probe/window_find.h"

#include <commctrl.h>

#include <string>

#include "tools/probe/ui_messages.h"

namespace probe {

namespace {

constexpr wchar_t FRAME_TITLE[] = L"Quellan";

BOOL CALLBACK Collect(HWND window, LPARAM windows) {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

std::wstring CaptionOf(HWND window) {
  wchar_t text[64] = L"";
  const int length = GetWindowTextW(window, text, 64);
  return std::wstring(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

HWND DeviceListBelow(HWND frame) {
  for (HWND list : DescendantsOfClass(frame, WC_LISTVIEWW)) {
    if (ControlId(list) == DEVICE_LIST_ID) return list;
  }
  return nullptr;
}

}  // namespace

bool WindowSystemReachable() {
  // The desktop window's class is the same on every Windows and Wine.
  return HasClass(GetDesktopWindow(), L"#32769");
}

std::vector<HWND> DescendantsOfClass(HWND root, const wchar_t* className) {
  std::vector<HWND> all;
  EnumChildWindows(root, Collect, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> found;
  for (HWND window : all)
    if (HasClass(window, className)) found.push_back(window);
  return found;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

DWORD ProcessOf(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  return processId;
}

std::optional<QuellanWindows> FindQuellan(DWORD processId) {
  for (HWND window : TopLevelWindows()) {
    const DWORD owner = ProcessOf(window);
    if ((processId != 0 && owner != processId) || !IsWindowVisible(window) ||
        GetWindow(window, GW_OWNER) != nullptr ||
        CaptionOf(window) != FRAME_TITLE)
      continue;
    const HWND list = DeviceListBelow(window);
    if (list != nullptr)
      return QuellanWindows{window, GetParent(list), list, owner};
  }
  return std::nullopt;
}

}  // namespace probe
