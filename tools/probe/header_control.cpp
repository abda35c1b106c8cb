#include "tools/probe/header_control.h"

#include <commctrl.h>

#include <cstddef>

#include "tools/probe/remote_memory.h"
#include "tools/probe/ui_messages.h"

namespace probe {

namespace {

constexpr int TEXT_CHARS = 260;

struct ItemWithText {
  HDITEMW item;
  wchar_t text[TEXT_CHARS];
};

}  // namespace

std::optional<HeaderItem> ReadHeaderItem(HWND header, HANDLE process,
                                         int column) {
  RemoteBuffer remote(process, sizeof(ItemWithText));
  HDITEMW item{};
  item.mask = HDI_FORMAT | HDI_WIDTH | HDI_TEXT;
  item.cchTextMax = TEXT_CHARS;
  item.pszText = remote.Pointer<wchar_t>(offsetof(ItemWithText, text));
  LRESULT found = 0;
  if (!remote.Put(item) ||
      !SendTo(header, HDM_GETITEMW, static_cast<WPARAM>(column),
              remote.Address(), &found) ||
      found == 0 || !remote.Get(item)) {
    return std::nullopt;
  }
  wchar_t text[TEXT_CHARS] = L"";
  if (!remote.Read(offsetof(ItemWithText, text), text, sizeof text)) {
    return std::nullopt;
  }
  text[TEXT_CHARS - 1] = L'\0';
  return HeaderItem{item.fmt, item.cxy, text};
}

std::optional<RECT> HeaderItemRect(HWND header, HANDLE process, int column) {
  return RemoteRect(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                    process);
}

}  // namespace probe
