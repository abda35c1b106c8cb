#include "winui/message_map.h"

namespace winui {

namespace {

bool KeyMatches(UINT wanted, UINT actual, UINT any) {
  return wanted == any || wanted == actual;
}

}  // namespace

bool RowMatches(UINT message, UINT id, UINT code, const Message& m) {
  if (message != ANY_MESSAGE && message != m.message) return false;
  if (id == ANY_ID && code == ANY_CODE) return true;
  if (m.message == WM_COMMAND) {
    return KeyMatches(id, LOWORD(m.wParam), ANY_ID) &&
           KeyMatches(code, HIWORD(m.wParam), ANY_CODE);
  }
  if (m.message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(m.lParam);
    return KeyMatches(id, static_cast<UINT>(header->idFrom), ANY_ID) &&
           KeyMatches(code, header->code, ANY_CODE);
  }
  return false;
}

}  // namespace winui
