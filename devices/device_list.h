// The device list control (SysListView32, report view with check boxes) as
// the view uses it: it shows the rows of the device table and reports the
// user's checks and selection. Used on the user-interface thread only.
#pragma once

#include <windows.h>

#include <vector>

#include "devices/device_table.h"

class DeviceListControl {
 public:
  void Attach(HWND list) { list_ = list; }
  HWND handle() const { return list_; }

  // Styles, the seven centred columns of the initial width.
  void SetUp(HFONT font);
  void SetColumnWidths(const int (&widths)[DEVICE_COLUMNS]);

  // Appends rows [from, rows.size()) of the table.
  void Append(const std::vector<DeviceRow>& rows, std::size_t from);
  // Rewrites every row whose content differs from `shown`, the rows as the
  // list showed them before.
  void Refresh(const std::vector<DeviceRow>& rows,
               const std::vector<DeviceRow>& shown);
  void Clear();

  int Count() const;
  int Selected() const;
  bool Checked(int row) const;
  void SetChecked(int row, bool checked);
  void SetHeaderFormat(int column, int format);
  int HeaderFormat(int column) const;

 private:
  void SetText(int row, int column, const std::wstring& text);

  HWND list_ = nullptr;
};
