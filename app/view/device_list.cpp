#include "app/view/device_list.h"

#include <commctrl.h>

#include <algorithm>

#include "app/view/view_logic.h"

namespace {
constexpr DWORD EXTENDED_STYLES = LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES |
                                  LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;
constexpr UINT CHECKED_STATE = 0x2000;
constexpr UINT UNCHECKED_STATE = 0x1000;
constexpr UINT STATE_IMAGE_MASK = 0xF000;
}  // namespace

void DeviceListControl::FillText(NMLVDISPINFOW* request,
                                 const std::vector<DeviceRow>& rows) const {
  LVITEMW& item = request->item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
  if (!Holds(item.iItem) ||
      static_cast<std::size_t>(item.iItem) >= rows.size() ||
      item.iSubItem < 0 || item.iSubItem >= DEVICE_COLUMNS) {
    item.pszText[0] = L'\0';
    return;
  }
  // Cut to the caller's buffer, as the control does with texts it holds.
  const std::wstring& text =
      rows[static_cast<std::size_t>(item.iItem)].texts[item.iSubItem];
  const std::size_t length =
      std::min(text.size(), static_cast<std::size_t>(item.cchTextMax) - 1);
  text.copy(item.pszText, length);
  item.pszText[length] = L'\0';
}

void DeviceListControl::SetUp(HFONT font) {
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  const LRESULT styles =
      SendMessageW(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               styles | EXTENDED_STYLES);
  for (int c = 0; c < DEVICE_COLUMNS; ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.pszText = const_cast<wchar_t*>(COLUMN_HEADINGS[c]);
    column.cx = static_cast<int>(SendMessageW(
                    list_, LVM_GETSTRINGWIDTHW, 0,
                    reinterpret_cast<LPARAM>(COLUMN_HEADINGS[c]))) +
                15;
    column.iSubItem = c;
    SendMessageW(list_, LVM_INSERTCOLUMNW, c,
                 reinterpret_cast<LPARAM>(&column));
  }
  for (int c = 0; c < DEVICE_COLUMNS; ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    column.fmt = LVCFMT_CENTER;
    column.cx = INITIAL_COLUMN_WIDTH;
    SendMessageW(list_, LVM_SETCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
  }
}

void DeviceListControl::SetColumnWidths(const int (&widths)[DEVICE_COLUMNS]) {
  for (int c = 0; c < DEVICE_COLUMNS; ++c)
    SendMessageW(list_, LVM_SETCOLUMNWIDTH, c, widths[c]);
}

void DeviceListControl::InsertRow(int index, bool checked) {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  // Every cell of the row, the sub-items too, asks for its text.
  item.pszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  if (checked) SetChecked(index, true);
}

bool DeviceListControl::SyncStep(const std::vector<DeviceRow>& rows,
                                 int budget) {
  Freeze();
  while (checks_.size() > rows.size()) {
    checks_.pop_back();
    SendMessageW(list_, LVM_DELETEITEM, checks_.size(), 0);
  }
  std::size_t i = cursor_;
  for (; i < rows.size() && budget > 0; ++i) {
    const int index = static_cast<int>(i);
    if (i >= checks_.size()) {
      checks_.push_back(rows[i].checked);
      InsertRow(index, rows[i].checked);
      --budget;
      continue;
    }
    // A moved or changed text costs the control nothing: it shows at the
    // repaint below. Only a check mark is the control's own to change.
    if (rows[i].checked != checks_[i]) {
      checks_[i] = rows[i].checked;
      SetChecked(index, rows[i].checked);
      --budget;
    }
  }
  cursor_ = i;
  const bool inSync = InSync(rows);
  if (inSync || GetTickCount64() - frozenSince_ >= REDRAW_INTERVAL_MS) Thaw();
  return inSync;
}

void DeviceListControl::Freeze() {
  if (frozen_) return;
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  frozen_ = true;
  frozenSince_ = GetTickCount64();
}

void DeviceListControl::Thaw() {
  if (!frozen_) return;
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
  frozen_ = false;
}

void DeviceListControl::Invalidate(std::size_t from) {
  if (from < cursor_) cursor_ = from;
}

void DeviceListControl::NoteChecked(int index, bool checked) {
  if (Holds(index)) checks_[static_cast<std::size_t>(index)] = checked;
}

void DeviceListControl::Clear() {
  Thaw();
  SendMessageW(list_, LVM_ENSUREVISIBLE, 0, FALSE);
  SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  checks_.clear();
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
      SendMessageW(list_, LVM_GETITEMSTATE, row, STATE_IMAGE_MASK);
  return ((state & STATE_IMAGE_MASK) >> 12) - 1 == 1;
}

void DeviceListControl::SetChecked(int row, bool checked) {
  LVITEMW item{};
  item.stateMask = STATE_IMAGE_MASK;
  item.state = checked ? CHECKED_STATE : UNCHECKED_STATE;
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
