// The whole way of a reply into the list: raw receive buffers, the queue
// entry, the table's intake and the sort by IP text. The table and the sort
// must agree with the reference text-scan intake and bubble sort.
//
// Input: one byte of options, then one 96-byte datagram per row (the last
// may be short), each placed in a zero-filled 256-byte receive buffer.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "bench/reference/reference_intake.h"
#include "bench/reference/reference_sort.h"
#include "core/devices/device_table.h"
#include "core/devices/row_sort.h"
#include "tests/fuzz/require.h"

namespace {

constexpr std::size_t MAX_ROWS = 16;

void RequireSameRows(const std::vector<DeviceRow>& a,
                     const std::vector<DeviceRow>& b) {
  FUZZ_REQUIRE(a.size() == b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    FUZZ_REQUIRE(a[i].texts == b[i].texts);
    FUZZ_REQUIRE(a[i].record == b[i].record);
    FUZZ_REQUIRE(a[i].checked == b[i].checked);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t options = data[0];
  ++data;
  --size;

  DeviceTable table;
  ReferenceIntake reference;
  if (options & 1) {
    table.ArmCollisionCheck();
    reference.ArmCollisionCheck();
  }
  for (std::size_t at = 0, rows = 0; at < size && rows < MAX_ROWS;
       at += DATAGRAM_SIZE, ++rows) {
    std::uint8_t buffer[RECEIVE_BUFFER_SIZE] = {};
    std::memcpy(buffer, data + at, std::min(DATAGRAM_SIZE, size - at));
    PendingReply entry;
    if (!MakePendingReply(buffer, 0, &entry)) continue;
    FUZZ_REQUIRE(table.Add(entry) == reference.Add(entry));
  }
  RequireSameRows(table.MutableRows(), reference.Rows());
  FUZZ_REQUIRE(!FoundCountText(table.Size()).empty());

  // Check marks on some rows, so that moving them is checked too.
  for (std::size_t i = 0; i < table.Size(); ++i) {
    const bool checked = ((options >> 4) + i) % 3 == 0;
    table.SetChecked(i, checked);
    reference.MutableRows()[i].checked = checked;
  }
  const int column = (options >> 1) % DEVICE_COLUMNS;
  const int direction = (options & 0x80) ? 1 : -1;
  SortRows(table.MutableRows(), column, direction, DEVICE_COLUMNS, true, true,
           PlatformSortKey());
  ReferenceBubbleSort(reference.MutableRows(), column, direction,
                      DEVICE_COLUMNS, true, true, PlatformTextCompare());
  RequireSameRows(table.MutableRows(), reference.Rows());
  return 0;
}
