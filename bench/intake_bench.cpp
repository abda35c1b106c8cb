// Decoding N search replies and taking them into the table, with the hash
// indexes of DeviceTable and with the reference row-by-row text scan.
#include <benchmark/benchmark.h>

#include "bench/reference/reference_intake.h"
#include "bench/reply_set.h"
#include "core/devices/device_table.h"

namespace {

template <typename Table>
void IntakeAll(benchmark::State& state) {
  const std::vector<ReceiveBuffer> replies =
      DistinctReplies(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    Table table;
    // A search arms the collision test, so both scans run for every reply.
    table.ArmCollisionCheck();
    for (const ReceiveBuffer& buffer : replies) {
      PendingReply entry;
      MakePendingReply(buffer.data(), 0, &entry);
      benchmark::DoNotOptimize(table.Add(entry));
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Intake(benchmark::State& state) { IntakeAll<DeviceTable>(state); }
void BM_ReferenceIntake(benchmark::State& state) {
  IntakeAll<ReferenceIntake>(state);
}

BENCHMARK(BM_Intake)->Arg(100)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(
    benchmark::kMillisecond);
BENCHMARK(BM_ReferenceIntake)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
