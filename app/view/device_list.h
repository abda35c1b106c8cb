// The device list control (SysListView32, report view with check boxes) as
// the view uses it: it shows the rows of the device table and reports the
// user's checks and selection. Used on the user-interface thread only.
//
// The rows' texts stay here rather than in the control: every cell is a text
// callback that the control asks for when it draws or is read (through
// LVM_GETITEMTEXTW, from this process or another). One insertion per row is
// then all a new row costs, where seven texts would be copied into the
// control, and a re-sorted table is shown without rewriting a cell.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "core/devices/device_table.h"

class DeviceListControl {
 public:
  void Attach(HWND list) { list_ = list; }
  HWND handle() const { return list_; }

  // Every cell is a text callback: the control asks its parent for the text
  // (LVN_GETDISPINFOW), and the parent answers with this.
  void FillText(NMLVDISPINFOW* request) const;

  // Styles, the seven centred columns of the initial width.
  void SetUp(HFONT font);
  void SetColumnWidths(const int (&widths)[DEVICE_COLUMNS]);

  // Brings the list a step closer to showing `rows`, writing at most about
  // `budget` cells, so that a few thousand rows never hold the window up in
  // one go. True once the list shows `rows` exactly.
  bool SyncStep(const std::vector<DeviceRow>& rows, int budget);
  // Rows from `from` on may have changed since they were written.
  void Invalidate(std::size_t from);
  bool InSync(const std::vector<DeviceRow>& rows) const {
    return cursor_ >= rows.size() && shown_.size() == rows.size();
  }
  // The row the list shows at `index` (it may lag behind the table between
  // two steps), or null.
  const DeviceRow* Shown(int index) const;
  // The user changed a check mark in the list itself.
  void NoteChecked(int index, bool checked);
  void Clear();

  int Count() const;
  int Selected() const;
  bool Checked(int row) const;
  void SetChecked(int row, bool checked);
  void SetHeaderFormat(int column, int format);
  int HeaderFormat(int column) const;

 private:
  void InsertRow(int index, const DeviceRow& row);

  HWND list_ = nullptr;
  std::vector<DeviceRow> shown_;  // what the list shows
  std::size_t cursor_ = 0;        // rows before it are known to be shown
};
