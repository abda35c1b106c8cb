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

// The same order as bytes: for any two texts, comparing their keys
// (std::string::compare) has the sign of PlatformTextCompare. A sort then
// asks the platform once per row rather than once per comparison, which
// under Wine's collation is most of a 20,000-row sort.
using SortKey = std::string (*)(const wchar_t* text);
SortKey PlatformSortKey();

// Texts longer than this are cut when a sort moves their row.
constexpr std::size_t SORT_TEXT_LIMIT = 49;

// direction +1 sorts descending, anything else ascending; a negative column
// does nothing. With swapChecks / swapData the check marks / records move with
// their rows, otherwise they stay at their positions. Returns true when any
// row moved.
bool SortRows(std::vector<DeviceRow>& rows, int column, int direction,
              int columnCount, bool swapChecks, bool swapData, SortKey key);
