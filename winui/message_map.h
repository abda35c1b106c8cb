// An ordered table of (message, control or command id, notification code,
// handler) rows per window class. Rows are tried top to bottom; a handler
// either answers the message or passes it on to the rows below it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

namespace winui {

struct Message {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// A value means the message is handled with that result; none passes it on.
using MessageResult = std::optional<LRESULT>;

inline constexpr UINT ANY_MESSAGE = 0xFFFFFFFFu;
inline constexpr UINT ANY_ID = 0xFFFFFFFFu;
inline constexpr UINT ANY_CODE = 0xFFFFFFFFu;

template <class T>
struct MessageMapEntry {
  UINT message;
  UINT id;
  UINT code;
  MessageResult (T::*handler)(const Message&);
};

template <class T>
constexpr MessageMapEntry<T> OnMessage(
    UINT message, MessageResult (T::*handler)(const Message&)) {
  return {message, ANY_ID, ANY_CODE, handler};
}

template <class T>
constexpr MessageMapEntry<T> OnAnyMessage(
    MessageResult (T::*handler)(const Message&)) {
  return {ANY_MESSAGE, ANY_ID, ANY_CODE, handler};
}

template <class T>
constexpr MessageMapEntry<T> OnCommand(
    UINT id, MessageResult (T::*handler)(const Message&)) {
  return {WM_COMMAND, id, ANY_CODE, handler};
}

template <class T>
constexpr MessageMapEntry<T> OnCommandCode(
    UINT id, UINT code, MessageResult (T::*handler)(const Message&)) {
  return {WM_COMMAND, id, code, handler};
}

template <class T>
constexpr MessageMapEntry<T> OnNotify(
    UINT id, UINT code, MessageResult (T::*handler)(const Message&)) {
  return {WM_NOTIFY, id, code, handler};
}

// Whether a row with these keys takes `m`. For WM_COMMAND the id is the low
// word of wParam and the code its high word; for WM_NOTIFY both come from
// the NMHDR that lParam points to.
bool RowMatches(UINT message, UINT id, UINT code, const Message& m);

template <class T, std::size_t N>
MessageResult Dispatch(T& target, const MessageMapEntry<T> (&map)[N],
                       const Message& m) {
  for (const MessageMapEntry<T>& row : map) {
    if (!RowMatches(row.message, row.id, row.code, m)) continue;
    if (MessageResult result = (target.*row.handler)(m)) return result;
  }
  return std::nullopt;
}

}  // namespace winui
