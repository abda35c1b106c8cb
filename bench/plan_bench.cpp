// What a plan costs once its search has ended: 65536 rows judged and played
// through the apply machine as the dry run does, with a chain of 16000
// devices that each take the next one's address, swaps and unchanged rows.
// With room in the subnet the chain is cut by temporary addresses; in a full
// subnet it goes one link a wave, and each wave must cost only what moves.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "cli/plan/plan_apply.h"

namespace {

constexpr int DEVICES = 65536;
constexpr int CHAIN = 16000;
constexpr std::uint32_t NETWORK = 0x0A600000u;  // 10.96.0.0

struct Site {
  std::vector<cli::FoundDevice> devices;
  std::vector<cli::PlanRow> rows;
};

// `mask` 255.254.0.0 leaves half the subnet free; 255.255.0.0 fills it.
Site MakeSite(std::uint32_t mask) {
  Site site;
  // A full /16: the chain's head takes its one free address.
  const int count = mask == 0xFFFF0000u ? 65532 : DEVICES;
  for (int i = 0; i < count; ++i) {
    cli::FoundDevice device;
    IpSettings& info = device.settings;
    device.mac = MacAddress{0x02,
                            0x51,
                            0x4C,
                            static_cast<std::uint8_t>(i >> 16),
                            static_cast<std::uint8_t>(i >> 8),
                            static_cast<std::uint8_t>(i)};
    info.ipAddress = NETWORK + 2 + static_cast<std::uint32_t>(i);
    info.subnetMask = mask;
    info.gateway = NETWORK + 1;
    info.basePort = 8000;
    info.httpPort = 80;
    device.place = {2, NETWORK + 1, NETWORK + 1};
    site.devices.push_back(device);
    cli::PlanRow row;
    row.mac = *device.mac;
    if (i < CHAIN) {
      // The chain's head takes the first free address after every device.
      row.edit.ip = i == CHAIN - 1 ? NETWORK + 2 + count : info.ipAddress + 1;
    } else if (i < CHAIN + 20000) {
      row.edit.ip = info.ipAddress + ((i - CHAIN) % 2 ? -1 : 1);  // swaps
    } else {
      row.edit.ip = info.ipAddress;  // unchanged
    }
    site.rows.push_back(row);
  }
  return site;
}

void DryRun(benchmark::State& state, std::uint32_t mask) {
  const Site site = MakeSite(mask);
  const cli::PlanSetting setting{{NETWORK + 1}, {}};
  for (auto _ : state) {
    std::vector<cli::PlanOutcome> outcomes =
        cli::JudgePlan(site.rows, site.devices, setting);
    cli::ForecastPlan(&outcomes,
                      {site.devices, setting.localAddresses, std::nullopt});
    benchmark::DoNotOptimize(outcomes.data());
    int hops = 0, conflicts = 0;
    for (const cli::PlanOutcome& row : outcomes) {
      hops += row.message.find("temporary address") != std::string::npos;
      conflicts += row.status == cli::ChangeStatus::Conflict;
    }
    state.counters["by_temporary"] = hops;
    state.counters["conflict"] = conflicts;
  }
}

void BM_DryRunWithRoom(benchmark::State& state) { DryRun(state, 0xFFFE0000u); }
void BM_DryRunFullSubnet(benchmark::State& state) {
  DryRun(state, 0xFFFF0000u);
}

BENCHMARK(BM_DryRunWithRoom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DryRunFullSubnet)->Unit(benchmark::kMillisecond);

}  // namespace
