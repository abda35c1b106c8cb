// An address plan's Change rows carried out by the apply machine
// (apply_machine.h): as a forecast for the dry run, or for real.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "cli/plan/apply_machine.h"
#include "cli/plan/plan_status.h"

namespace cli {

struct ApplySetting {
  std::vector<FoundDevice> devices;  // as the plan's search found them
  // This computer's addresses, which no device is given in any domain.
  std::vector<std::uint32_t> localAddresses;
  std::optional<TemporaryRange> temporary;  // --temp
};

// The dry run: notes in each Change row the temporary address it would go
// by, and makes Conflict the rows of a cycle that no temporary address can
// break. Every found row's now_ip is its current address.
void ForecastPlan(std::vector<PlanOutcome>* outcomes,
                  const ApplySetting& setting);

struct ApplyCalls {
  std::chrono::milliseconds verifyTimeout{20000};
  std::function<bool()> stopRequested;
  // Before each wave is verified: its number and what it sent.
  std::function<void(const WaveNews&)> announce;
  // After each search that verifies a wave.
  std::function<void(const VerifyProgress&)> verifying;
  // Each time the rows change, with the rows as they would end if the
  // program ended at once.
  std::function<void(const std::vector<PlanOutcome>&)> progress;
};

// Sends the Change rows through `link`; each ends Confirmed, NotConfirmed,
// NotSent (with its cause), Returned or Stranded, and every row that a last
// search heard gets its now_ip. While it runs, a row whose request is out
// and not verified yet is Sent.
ApplyEnd ApplyPlan(std::vector<PlanOutcome>* outcomes,
                   const ApplySetting& setting, ApplyLink& link,
                   const ApplyCalls& calls);

}  // namespace cli
