// A report list view of another process: its rows, cell texts, check boxes,
// selection and row rectangles.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace probe {

struct ListRow {
  int index;
  std::vector<std::wstring> texts;
  // The state image number minus 1: 1 checked, 0 unchecked, -1 no check box.
  int check;
  bool selected;
  bool focused;
};

class ListView {
 public:
  // `process` is the list's process, opened for its memory.
  ListView(HWND list, HANDLE process);

  int RowCount() const;
  int ColumnCount() const;
  std::optional<std::wstring> CellText(int row, int column) const;
  std::optional<ListRow> Row(int row) const;
  int CheckState(int row) const;
  bool SetCheck(int row, bool checked);
  // Selects and focuses the row as a click would, without the click's
  // NM_CLICK notification; the list's own LVN_ITEMCHANGED still goes out.
  bool Select(int row);
  // The visible part of the row, in the list's client coordinates, after
  // scrolling the row into view as a user would before clicking it.
  std::optional<RECT> VisibleRowRect(int row);
  HWND Header() const;
  HWND Window() const { return list_; }

 private:
  bool SetState(int row, UINT state, UINT mask);

  HWND list_;
  HANDLE process_;
};

}  // namespace probe
