// The simulator's single loop: one UDP socket on the discovery port, a paced
// schedule of sends, and the devices answering searches and taking changes.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/devsim/options.h"
#include "tools/devsim/sim_device.h"

namespace devsim {

// Runs until the duration passes or a stop is requested; returns the exit
// status (0, or 1 when the socket cannot be set up or keeps failing).
int RunSimulator(const Options& options, std::uint64_t randomStart,
                 std::vector<SimDevice> devices);

}  // namespace devsim
