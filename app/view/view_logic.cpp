#include "app/view/view_logic.h"

const wchar_t* const COLUMN_HEADINGS[DEVICE_COLUMNS] = {
    L"IP address", L"MAC address", L"Base port", L"HTTP port",
    L"IP mode",    L"Model name",  L"Firmware"};

ViewLayout LayOutView(int w, int h) {
  ViewLayout layout;
  layout.group = {10, 10, w - 20, h - 20};
  layout.groupTitle = {20, 8, 100, 20};
  layout.selectAll = {20, 32, 13, 13};
  layout.selectAllText = {40, 29, 150, 20};
  // Right-aligned text whose right edge stays 30 pixels from the view's.
  layout.foundText = {w - 510, 30, 480, 20};
  layout.list = {20, 60, w - 40, h - 80};
  const int column = (w - 40) / 7;
  layout.columnWidths = {column, column, column - 5, column - 5,
                         column, column, column};
  return layout;
}

std::array<Band, 4> BackgroundBands(int h) {
  const int band = h / 4;
  return {{{0, 157, 161, 171},
           {band, 157, 161, 176},
           {2 * band, 157, 161, 181},
           {3 * band, 157, 161, 186}}};
}

std::array<Line, 2> WhiteLines(int w) {
  return {{{50, 20, 220}, {50, w - 200, w - 20}}};
}

int HeaderFormatFor(int direction) {
  if (direction == 1) return HEADER_SORT_UP;
  if (direction == -1) return HEADER_SORT_DOWN;
  return HEADER_PLAIN;
}

ColumnSortState::Sort ColumnSortState::Click(int column) {
  const int previous = sortColumn_ != -1 ? sortColumn_ : column;
  if (sortColumn_ == column)
    sortDirection_ = sortDirection_ <= 0 ? 1 : -1;
  else
    sortColumn_ = column;
  return {previous, sortColumn_, sortDirection_};
}

ToolRequest OnListClick(bool rowSelected) { return {rowSelected, rowSelected}; }

ToolRequest OnItemChanged(bool searching, bool sortInProgress, bool anyChecked,
                          bool rowSelected) {
  if (searching || sortInProgress) return {};
  return {anyChecked || rowSelected, std::nullopt};
}
