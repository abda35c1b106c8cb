// The bubble sort that the list's sort is measured and checked against: n
// passes of n - 1 neighbour comparisons, no early exit, every cell text read
// into a 50-character buffer (49 characters kept), equal texts never swapped.
#pragma once

#include <vector>

#include "core/devices/row_sort.h"

void ReferenceBubbleSort(std::vector<DeviceRow>& rows, int column,
                         int direction, int columnCount, bool swapChecks,
                         bool swapData, TextCompare compare);
