#include "core/devices/row_sort.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace {

// The key of the text as the list would return it. Only a text past the
// limit is copied to be cut: at tens of thousands of rows per batch the
// copies cost more than the keys.
std::string KeyOf(const std::wstring& text, SortKey key) {
  if (text.size() <= SORT_TEXT_LIMIT) return key(text.c_str());
  return key(text.substr(0, SORT_TEXT_LIMIT).c_str());
}

}  // namespace

bool SortRows(std::vector<DeviceRow>& rows, int column, int direction,
              int columnCount, bool swapChecks, bool swapData, SortKey key) {
  const std::size_t n = rows.size();
  if (column < 0 || column >= DEVICE_COLUMNS || n < 2) return false;
  columnCount = std::clamp(columnCount, 0, DEVICE_COLUMNS);

  std::vector<std::string> keys(n);
  for (std::size_t i = 0; i < n; ++i)
    keys[i] = KeyOf(rows[i].texts[column], key);
  // `before(a, b)`: the bubble sort would move b in front of a.
  auto before = [&](std::size_t a, std::size_t b) {
    const int order = keys[a].compare(keys[b]);
    return direction == 1 ? order > 0 : order < 0;
  };
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), before);

  // A row takes part in an exchange exactly when it forms an inverted pair
  // with some other row: a row ahead of it that belongs after it, or a row
  // behind it that belongs ahead.
  std::vector<bool> exchanged(n, false);
  std::size_t worstAhead = 0;
  for (std::size_t i = 1; i < n; ++i) {
    if (before(i, worstAhead)) exchanged[i] = true;
    if (before(worstAhead, i)) worstAhead = i;
  }
  std::size_t bestBehind = n - 1;
  for (std::size_t i = n - 1; i-- > 0;) {
    if (before(bestBehind, i)) exchanged[i] = true;
    if (before(i, bestBehind)) bestBehind = i;
  }
  if (std::none_of(exchanged.begin(), exchanged.end(),
                   [](bool moved) { return moved; }))
    return false;

  // Each row's texts go to exactly one position, so they are moved rather
  // than copied, and cut where they stand; the texts past columnCount stay
  // where they are.
  std::vector<DeviceRow> sorted(n);
  for (std::size_t position = 0; position < n; ++position) {
    DeviceRow& from = rows[order[position]];
    DeviceRow& to = sorted[position];
    for (int c = 0; c < columnCount; ++c) {
      to.texts[c] = std::move(from.texts[c]);
      if (exchanged[order[position]] && to.texts[c].size() > SORT_TEXT_LIMIT)
        to.texts[c].resize(SORT_TEXT_LIMIT);
    }
    to.checked = swapChecks ? from.checked : rows[position].checked;
    const DeviceRow& data = swapData ? from : rows[position];
    to.record = data.record;
    to.bodyLength = data.bodyLength;
  }
  for (std::size_t position = 0; position < n; ++position)
    for (int c = columnCount; c < DEVICE_COLUMNS; ++c)
      sorted[position].texts[c] = std::move(rows[position].texts[c]);
  rows.swap(sorted);
  return true;
}
