#include "devices/device_list.h"

#include <commctrl.h>

#include "devices/view_logic.h"

namespace {
constexpr DWORD kExtendedStyles = LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES |
                                  LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;
constexpr UINT kCheckedState = 0x2000;
constexpr UINT kUncheckedState = 0x1000;
constexpr UINT kStateImageMask = 0xF000;
}  // namespace

void DeviceListControl::SetUp(HFONT font) {
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  const LRESULT styles =
      SendMessageW(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               styles | kExtendedStyles);
  for (int c = 0; c < DEVICE_COLUMNS; ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.pszText = const_cast<wchar_t*>(kColumnHeadings[c]);
    column.cx = static_cast<int>(SendMessageW(
                    list_, LVM_GETSTRINGWIDTHW, 0,
                    reinterpret_cast<LPARAM>(kColumnHeadings[c]))) +
                15;
    column.iSubItem = c;
    SendMessageW(list_, LVM_INSERTCOLUMNW, c,
                 reinterpret_cast<LPARAM>(&column));
  }
  for (int c = 0; c < DEVICE_COLUMNS; ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    column.fmt = LVCFMT_CENTER;
    column.cx = kInitialColumnWidth;
    SendMessageW(list_, LVM_SETCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
  }
}

void DeviceListControl::SetColumnWidths(const int (&widths)[DEVICE_COLUMNS]) {
  for (int c = 0; c < DEVICE_COLUMNS; ++c)
    SendMessageW(list_, LVM_SETCOLUMNWIDTH, c, widths[c]);
}

void DeviceListControl::SetText(int row, int column, const std::wstring& text) {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(list_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

void DeviceListControl::InsertRow(int index, const DeviceRow& row) {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<wchar_t*>(row.texts[0].c_str());
  SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  for (int c = 1; c < DEVICE_COLUMNS; ++c) SetText(index, c, row.texts[c]);
  if (row.checked) SetChecked(index, true);
}

bool DeviceListControl::SyncStep(const std::vector<DeviceRow>& rows,
                                 int budget) {
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  while (shown_.size() > rows.size()) {
    shown_.pop_back();
    SendMessageW(list_, LVM_DELETEITEM, shown_.size(), 0);
  }
  std::size_t i = cursor_;
  for (; i < rows.size() && budget > 0; ++i) {
    const int index = static_cast<int>(i);
    if (i >= shown_.size()) {
      InsertRow(index, rows[i]);
      shown_.push_back(rows[i]);
      budget -= DEVICE_COLUMNS;
      continue;
    }
    DeviceRow& shown = shown_[i];
    for (int c = 0; c < DEVICE_COLUMNS; ++c) {
      if (rows[i].texts[c] == shown.texts[c]) continue;
      SetText(index, c, rows[i].texts[c]);
      --budget;
    }
    const bool checkChanged = rows[i].checked != shown.checked;
    shown = rows[i];
    if (checkChanged) {
      SetChecked(index, rows[i].checked);
      --budget;
    }
  }
  cursor_ = i;
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
  return InSync(rows);
}

void DeviceListControl::Invalidate(std::size_t from) {
  if (from < cursor_) cursor_ = from;
}

const DeviceRow* DeviceListControl::Shown(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= shown_.size())
    return nullptr;
  return &shown_[static_cast<std::size_t>(index)];
}

void DeviceListControl::NoteChecked(int index, bool checked) {
  if (index >= 0 && static_cast<std::size_t>(index) < shown_.size())
    shown_[static_cast<std::size_t>(index)].checked = checked;
}

void DeviceListControl::Clear() {
  SendMessageW(list_, LVM_ENSUREVISIBLE, 0, FALSE);
  SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  shown_.clear();
  cursor_ = 0;
}

int DeviceListControl::Count() const {
  return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

int DeviceListControl::Selected() const {
  return static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM,
                                       static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool DeviceListControl::Checked(int row) const {
  const LRESULT state =
      SendMessageW(list_, LVM_GETITEMSTATE, row, kStateImageMask);
  return ((state & kStateImageMask) >> 12) - 1 == 1;
}

void DeviceListControl::SetChecked(int row, bool checked) {
  LVITEMW item{};
  item.stateMask = kStateImageMask;
  item.state = checked ? kCheckedState : kUncheckedState;
  SendMessageW(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void DeviceListControl::SetHeaderFormat(int column, int format) {
  HWND header =
      reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
  HDITEMW item{};
  item.mask = HDI_FORMAT;
  SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
  item.fmt = format;
  SendMessageW(header, HDM_SETITEMW, column, reinterpret_cast<LPARAM>(&item));
}

int DeviceListControl::HeaderFormat(int column) const {
  HWND header =
      reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
  HDITEMW item{};
  item.mask = HDI_FORMAT;
  SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
  return item.fmt;
}
