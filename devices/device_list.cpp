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

void DeviceListControl::Append(const std::vector<DeviceRow>& rows,
                               std::size_t from) {
  if (from >= rows.size()) return;
  // One redraw for the whole batch instead of one per cell.
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  for (std::size_t i = from; i < rows.size(); ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(i);
    item.pszText = const_cast<wchar_t*>(rows[i].texts[0].c_str());
    const int row = static_cast<int>(SendMessageW(
        list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    for (int c = 1; c < DEVICE_COLUMNS; ++c) SetText(row, c, rows[i].texts[c]);
    if (rows[i].checked) SetChecked(row, true);
  }
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}

void DeviceListControl::Refresh(const std::vector<DeviceRow>& rows,
                                const std::vector<DeviceRow>& shown) {
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  for (std::size_t i = 0; i < rows.size() && i < shown.size(); ++i) {
    const int row = static_cast<int>(i);
    for (int c = 0; c < DEVICE_COLUMNS; ++c)
      if (rows[i].texts[c] != shown[i].texts[c])
        SetText(row, c, rows[i].texts[c]);
    if (rows[i].checked != shown[i].checked) SetChecked(row, rows[i].checked);
  }
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}

void DeviceListControl::Clear() {
  SendMessageW(list_, LVM_ENSUREVISIBLE, 0, FALSE);
  SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
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
