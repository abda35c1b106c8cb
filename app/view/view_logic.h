// The device view's rules that need no window: the layout of its controls,
// the background bands, the column sort state with its header arrows, and
// when the list enables the change and web page commands.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "core/devices/device_table.h"

struct ViewRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const ViewRect& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height;
  }
};

struct ViewLayout {
  ViewRect group, groupTitle, selectAll, selectAllText, foundText, list;
  std::array<int, DEVICE_COLUMNS> columnWidths{};
};
// For a view client area of w x h pixels.
ViewLayout LayOutView(int w, int h);

// Width of every column right after the list is set up.
constexpr int INITIAL_COLUMN_WIDTH = 120;
// Headings, in column order.
extern const wchar_t* const COLUMN_HEADINGS[DEVICE_COLUMNS];

struct Band {
  int top;
  std::uint8_t red, green, blue;
};
// Four bands from top to bottom; each is painted down to the bottom edge, so
// the last one covers the remainder of h / 4.
std::array<Band, 4> BackgroundBands(int h);
// The two white lines at y 50.
struct Line {
  int y, left, right;
};
std::array<Line, 2> WhiteLines(int w);

// Header formats: HDF_STRING | HDF_CENTER with or without an arrow.
constexpr int HEADER_PLAIN = 0x4002;
constexpr int HEADER_SORT_UP = 0x4402;    // shown for descending order
constexpr int HEADER_SORT_DOWN = 0x4202;  // shown for ascending order
int HeaderFormatFor(int direction);

// The user's column sort: -1 / -1 until the first click; +1 descending, -1
// ascending; a click on the same column flips the direction, a click on
// another column keeps it.
class ColumnSortState {
 public:
  struct Sort {
    int previousColumn;
    int column;
    int direction;
  };
  Sort Click(int column);
  int Column() const { return sortColumn_; }
  int Direction() const { return sortDirection_; }

 private:
  int sortColumn_ = -1;
  int sortDirection_ = -1;
};

// What the list asks of the "Change a ip of device" and "Go camera web page"
// commands: enable (true), disable (false) or leave (empty).
struct ToolRequest {
  std::optional<bool> changeIp;
  std::optional<bool> webPage;
};
ToolRequest OnListClick(bool rowSelected);
ToolRequest OnItemChanged(bool searching, bool sortInProgress, bool anyChecked,
                          bool rowSelected);
