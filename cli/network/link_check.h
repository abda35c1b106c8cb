// What a link check (ApplyLink::Probe) says about an address a device is to
// be sent to, read the same way by set and by the apply of a plan.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "cli/network/discovery.h"

namespace cli {

// True when `mac` is a device the search listed.
using Listed = std::function<bool(const MacAddress& mac)>;

// How the check of `probed`'s i-th address reads: a listed device that has
// just left an address is still named in the neighbour table for a while
// (STALE for up to a minute), so an entry naming one is not a host.
Holding HoldingAt(const ProbeOutcome& probed, std::size_t i,
                  const Listed& listed);

// The MAC the table named for the i-th address, zero when none.
MacAddress HolderAt(const ProbeOutcome& probed, std::size_t i);

// "10.77.0.2 answers on the network (52:32:2B:03:3A:D5)".
std::string HostText(std::uint32_t address, const MacAddress& mac);

}  // namespace cli
