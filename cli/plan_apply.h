// Carrying out an address plan in a safe order: never asking a device for an
// address that another device still shows (see move_order.h).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/found_device.h"
#include "cli/plan_status.h"

namespace cli {

struct ApplySetting {
  std::vector<FoundDevice> devices;  // as the plan's search found them
  // This computer's addresses, which no device is given in any domain.
  std::vector<std::uint32_t> localAddresses;
  // The adapters through which the requests for a broadcast domain go.
  std::function<std::vector<std::uint32_t>(std::uint32_t domain)> through;
  // --temp: the temporary address for breaking cycles; otherwise the checker
  // picks a free one in the device's new subnet. Either is free in the
  // device's own domain.
  std::optional<std::uint32_t> temporary;
};

// Works out which Change rows go by way of a temporary address, as if every
// change were confirmed, and notes it in their row. When a cycle needs a
// temporary address and none can be had, its rows become Conflict.
void PlanTemporaryHops(std::vector<PlanOutcome>* outcomes,
                       const ApplySetting& setting);

// Sends the Change rows in waves, each paced and then verified as a whole;
// each row ends Confirmed, NotConfirmed, NotSent (its request left through no
// adapter) or Withheld (the device whose address it waited for did not
// move). False when the engine failed.
bool ApplyInWaves(std::vector<PlanOutcome>* outcomes,
                  const ApplySetting& setting,
                  std::chrono::milliseconds verifyTimeout);

}  // namespace cli
