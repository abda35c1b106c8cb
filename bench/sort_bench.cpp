// Sorting N rows by their IP texts, as a search does after every batch:
// SortRows beside the reference bubble sort.
#include <benchmark/benchmark.h>

#include "bench/reference/reference_sort.h"
#include "bench/reply_set.h"
#include "core/devices/device_table.h"
#include "core/devices/row_sort.h"

namespace {

std::vector<DeviceRow> ShuffledRows(std::size_t count) {
  DeviceTable table;
  for (const ReceiveBuffer& buffer : DistinctReplies(count)) {
    PendingReply entry;
    MakePendingReply(buffer.data(), 0, &entry);
    table.Add(entry);
  }
  return table.MutableRows();
}

template <typename Sort>
void SortAll(benchmark::State& state, Sort sort) {
  const std::vector<DeviceRow> start =
      ShuffledRows(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<DeviceRow> rows = start;
    state.ResumeTiming();
    sort(rows);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Sort(benchmark::State& state) {
  SortAll(state, [](std::vector<DeviceRow>& rows) {
    SortRows(rows, COLUMN_IP, -1, DEVICE_COLUMNS, true, true,
             PlatformSortKey());
  });
}

void BM_ReferenceSort(benchmark::State& state) {
  SortAll(state, [](std::vector<DeviceRow>& rows) {
    ReferenceBubbleSort(rows, COLUMN_IP, -1, DEVICE_COLUMNS, true, true,
                        PlatformTextCompare());
  });
}

BENCHMARK(BM_Sort)->Arg(100)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(
    benchmark::kMillisecond);
BENCHMARK(BM_ReferenceSort)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
// About 2 s and 7 s for one run: once is enough to see the quadratic cost.
BENCHMARK(BM_ReferenceSort)
    ->Arg(5000)
    ->Arg(10000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
