// The command line's use of the network: one search through the engine,
// the local subnets, and the re-searches that confirm a change.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "cli/found_device.h"

namespace cli {

// The most devices one search lists: every host of a /16.
constexpr std::size_t LISTED_DEVICES = 65536;

// What a search says on standard error beside the devices it finds.
enum class Remarks {
  // How many devices answered beyond those listed, and, when none answered,
  // where the search looked and what may have stopped the answers.
  Say,
  // Nothing: the searches that wait for a changed device, or repeat.
  Quiet,
};

// One search of `window`; false when the engine did not start (its message
// is on standard error).
bool SearchDevices(std::chrono::milliseconds window, std::uint32_t adapter,
                   std::vector<FoundDevice>* devices,
                   Remarks remarks = Remarks::Say);

struct VerifyOutcome {
  bool engineFailed = false;
  // confirmed[i]: bodies[i]'s device answered with the settings of bodies[i],
  // as answers[i].
  std::vector<bool> confirmed;
  std::vector<FoundDevice> answers;
};

// Searches every two seconds, each search short enough to fit, until every
// device has answered with the settings it was sent or `limit` has passed.
// At least one search is made.
VerifyOutcome VerifyChanges(const std::vector<DeviceInfo>& bodies,
                            std::chrono::milliseconds limit,
                            std::uint32_t adapter);

}  // namespace cli
