// The device list control (SysListView32, report view with check boxes) as
// the view uses it: it shows the rows of the device table and reports the
// user's checks and selection. Used on the user-interface thread only.
//
// The rows' texts stay in the device table rather than in the control: every
// cell is a text callback that the control asks for when it draws or is read
// (through LVM_GETITEMTEXTW, from this process or another), and list row i
// shows table row i. One insertion per row is then all a new row costs, where
// seven texts would be copied into the control, and a re-sorted table is
// shown without rewriting a cell.
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
  // (LVN_GETDISPINFOW), and the parent answers with this from the rows the
  // list shows.
  void FillText(NMLVDISPINFOW* request,
                const std::vector<DeviceRow>& rows) const;

  // Styles, the seven centred columns of the initial width.
  void SetUp(HFONT font);
  void SetColumnWidths(const int (&widths)[DEVICE_COLUMNS]);

  // Brings the list a step closer to showing `rows`, inserting rows and
  // setting check marks `budget` times at most, so that many thousand rows
  // never hold the window up in one go. True once the list holds a row, with
  // its check mark, for each of `rows`.
  bool SyncStep(const std::vector<DeviceRow>& rows, int budget);
  // Rows from `from` on may have moved or changed their check marks.
  void Invalidate(std::size_t from);
  bool InSync(const std::vector<DeviceRow>& rows) const {
    return cursor_ >= rows.size() && checks_.size() == rows.size();
  }
  // Whether the list holds a row at `index` yet: between two steps it may
  // hold fewer rows than the table.
  bool Holds(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < checks_.size();
  }
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
  void InsertRow(int index, bool checked);
  // The control stops drawing while steps write to it, and draws again when
  // it is in step with the table or has not drawn for a while. Turning
  // drawing back on costs the control tens of milliseconds under Wine
  // whatever the number of rows, so it is not done for every step.
  void Freeze();
  void Thaw();
  static constexpr ULONGLONG REDRAW_INTERVAL_MS = 250;

  HWND list_ = nullptr;
  std::vector<bool> checks_;  // the control's rows and their check marks
  std::size_t cursor_ = 0;    // rows before it are known to be shown
  bool frozen_ = false;
  ULONGLONG frozenSince_ = 0;
};
