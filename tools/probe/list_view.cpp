#include "tools/probe/list_view.h"

#include <commctrl.h>

#include <cstddef>

#include "tools/probe/remote_memory.h"
#include "tools/probe/ui_messages.h"

namespace probe {

namespace {

constexpr int TEXT_CHARS = 260;
constexpr UINT CHECK_MASK = LVIS_STATEIMAGEMASK;
constexpr UINT CHECKED = INDEXTOSTATEIMAGEMASK(2);
constexpr UINT UNCHECKED = INDEXTOSTATEIMAGEMASK(1);

// The item and its text buffer in one allocation, so that one remote block
// serves a whole text query.
struct ItemWithText {
  LVITEMW item;
  wchar_t text[TEXT_CHARS];
};

}  // namespace

ListView::ListView(HWND list, HANDLE process)
    : list_(list), process_(process) {}

int ListView::RowCount() const {
  LRESULT count = 0;
  return SendTo(list_, LVM_GETITEMCOUNT, 0, 0, &count) ? static_cast<int>(count)
                                                       : 0;
}

HWND ListView::Header() const {
  LRESULT header = 0;
  return SendTo(list_, LVM_GETHEADER, 0, 0, &header)
             ? reinterpret_cast<HWND>(header)
             : nullptr;
}

int ListView::ColumnCount() const {
  const HWND header = Header();
  LRESULT count = 0;
  if (header == nullptr || !SendTo(header, HDM_GETITEMCOUNT, 0, 0, &count)) {
    return 0;
  }
  return static_cast<int>(count);
}

std::optional<std::wstring> ListView::CellText(int row, int column) const {
  RemoteBuffer remote(process_, sizeof(ItemWithText));
  LVITEMW item{};
  item.iSubItem = column;
  item.cchTextMax = TEXT_CHARS;
  item.pszText = remote.Pointer<wchar_t>(offsetof(ItemWithText, text));
  if (!remote.Put(item) ||
      !SendTo(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
              remote.Address())) {
    return std::nullopt;
  }
  wchar_t text[TEXT_CHARS] = L"";
  if (!remote.Read(offsetof(ItemWithText, text), text, sizeof text)) {
    return std::nullopt;
  }
  text[TEXT_CHARS - 1] = L'\0';
  return std::wstring(text);
}

int ListView::CheckState(int row) const {
  LRESULT state = 0;
  SendTo(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), CHECK_MASK, &state);
  return static_cast<int>((static_cast<UINT>(state) & CHECK_MASK) >> 12) - 1;
}

std::optional<ListRow> ListView::Row(int row) const {
  ListRow result{row, {}, CheckState(row), false, false};
  const int columns = ColumnCount();
  for (int column = 0; column < columns; ++column) {
    const std::optional<std::wstring> text = CellText(row, column);
    if (!text) return std::nullopt;
    result.texts.push_back(*text);
  }
  LRESULT state = 0;
  SendTo(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(row),
         LVIS_SELECTED | LVIS_FOCUSED, &state);
  result.selected = (state & LVIS_SELECTED) != 0;
  result.focused = (state & LVIS_FOCUSED) != 0;
  return result;
}

bool ListView::SetState(int row, UINT state, UINT mask) {
  LVITEMW item{};
  item.state = state;
  item.stateMask = mask;
  RemoteBuffer remote(process_, sizeof item);
  LRESULT done = 0;
  return remote.Put(item) &&
         SendTo(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                remote.Address(), &done) &&
         done != 0;
}

bool ListView::SetCheck(int row, bool checked) {
  return SetState(row, checked ? CHECKED : UNCHECKED, CHECK_MASK);
}

bool ListView::Select(int row) {
  const UINT selected = LVIS_SELECTED | LVIS_FOCUSED;
  return SetState(row, selected, selected);
}

std::optional<RECT> ListView::VisibleRowRect(int row) {
  SendTo(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  RECT asked{};
  asked.left = LVIR_BOUNDS;
  const auto bounds = RemoteRect(list_, LVM_GETITEMRECT,
                                 static_cast<WPARAM>(row), process_, asked);
  RECT client{};
  RECT visible{};
  if (!bounds || !GetClientRect(list_, &client) ||
      !IntersectRect(&visible, &*bounds, &client)) {
    return std::nullopt;
  }
  return visible;
}

}  // namespace probe
