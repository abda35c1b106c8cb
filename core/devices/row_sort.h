// Sorting the device rows by the text of one column.
//
// The order is that of a bubble sort over the list's cells that compares the
// texts as the list returns them into 50-character buffers (49 characters at
// most) and never swaps equal texts. A stable sort with the same comparison
// gives exactly that order in O(n log n); what the cell moves would cut, the
// rows that take part in any exchange are cut to as well.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/devices/device_table.h"

// Case-sensitive text comparison: lstrcmpW on Windows, wcscmp elsewhere.
using TextCompare = int (*)(const wchar_t* a, const wchar_t* b);
TextCompare PlatformTextCompare();

// Texts longer than this are cut when a sort moves their row.
constexpr std::size_t SORT_TEXT_LIMIT = 49;

// direction +1 sorts descending, anything else ascending; a negative column
// does nothing. With swapChecks / swapData the check marks / records move with
// their rows, otherwise they stay at their positions. Returns true when any
// row moved.
bool SortRows(std::vector<DeviceRow>& rows, int column, int direction,
              int columnCount, bool swapChecks, bool swapData,
              TextCompare compare);
