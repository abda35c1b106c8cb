#include "winui/message_map.h"

namespace winui {

namespace {

bool KeyMatches(UINT wanted, UINT actual, UINT any) {
  return wanted == any || wanted == actual;
}

}  // namespace

bool RowMatches(UINT message, UINT id, UINT code, const Message& m) {
  if (message != kAnyMessage && message != m.message) return false;
  if (id == kAnyId && code == kAnyCode) return true;
  if (m.message == WM_COMMAND) {
    return KeyMatches(id, LOWORD(m.wParam), kAnyId) &&
           KeyMatches(code, HIWORD(m.wParam), kAnyCode);
  }
  if (m.message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(m.lParam);
    return KeyMatches(id, static_cast<UINT>(header->idFrom), kAnyId) &&
           KeyMatches(code, header->code, kAnyCode);
  }
  return false;
}

}  // namespace winui
