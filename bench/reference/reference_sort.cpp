#include "bench/reference/reference_sort.h"

#include <algorithm>
#include <cwchar>
#include <utility>

namespace {

constexpr std::size_t CELL_BUFFER = SORT_TEXT_LIMIT + 1;

void ReadCell(const std::wstring& text, wchar_t* cell) {
  const std::size_t length = std::min(text.size(), SORT_TEXT_LIMIT);
  std::wmemcpy(cell, text.data(), length);
  cell[length] = L'\0';
}

}  // namespace

void ReferenceBubbleSort(std::vector<DeviceRow>& rows, int column,
                         int direction, int columnCount, bool swapChecks,
                         bool swapData, TextCompare compare) {
  const std::size_t n = rows.size();
  if (column < 0 || n < 2) return;
  std::vector<wchar_t> saved(static_cast<std::size_t>(columnCount) *
                             CELL_BUFFER);
  wchar_t left[CELL_BUFFER];
  wchar_t right[CELL_BUFFER];
  for (std::size_t pass = 0; pass < n; ++pass) {
    for (std::size_t j = 1; j < n; ++j) {
      ReadCell(rows[j - 1].texts[column], left);
      ReadCell(rows[j].texts[column], right);
      const int order = compare(left, right);
      if (direction == 1 ? order >= 0 : order <= 0) continue;
      for (int c = 0; c < columnCount; ++c)
        ReadCell(rows[j - 1].texts[c], &saved[c * CELL_BUFFER]);
      for (int c = 0; c < columnCount; ++c) {
        ReadCell(rows[j].texts[c], left);
        rows[j - 1].texts[c] = left;
      }
      if (swapData) {
        std::swap(rows[j - 1].record, rows[j].record);
        std::swap(rows[j - 1].bodyLength, rows[j].bodyLength);
      }
      if (swapChecks) std::swap(rows[j - 1].checked, rows[j].checked);
      for (int c = 0; c < columnCount; ++c)
        rows[j].texts[c] = &saved[c * CELL_BUFFER];
    }
  }
}
