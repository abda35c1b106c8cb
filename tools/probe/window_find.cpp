#include "tools/probe/window_find.h"

#include <commctrl.h>

#include <string>

#include "tools/probe/ui_messages.h"

namespace probe {

namespace {

constexpr wchar_t FRAME_TITLE[] = L"Quellan";

struct ClassSearch {
  const wchar_t* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectOfClass(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ClassSearch*>(param);
  if (HasClass(window, search->className)) {
    search->found.push_back(window);
  }
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

struct FrameSearch {
  DWORD processId;
  std::optional<QuellanWindows> found;
};

BOOL CALLBACK CheckTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<FrameSearch*>(param);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (search->processId != 0 && processId != search->processId) return TRUE;
  if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) != nullptr ||
      CaptionOf(window) != FRAME_TITLE) {
    return TRUE;
  }
  const HWND list = DeviceListBelow(window);
  if (list == nullptr) return TRUE;
  search->found = QuellanWindows{window, GetParent(list), list, processId};
  return FALSE;
}

}  // namespace

bool WindowSystemReachable() {
  // The desktop window's class is the same on every Windows and Wine.
  return HasClass(GetDesktopWindow(), L"#32769");
}

std::vector<HWND> DescendantsOfClass(HWND root, const wchar_t* className) {
  ClassSearch search{className, {}};
  EnumChildWindows(root, CollectOfClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::optional<QuellanWindows> FindQuellan(DWORD processId) {
  FrameSearch search{processId, std::nullopt};
  EnumWindows(CheckTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace probe
