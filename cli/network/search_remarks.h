// What a search says on standard error beside the devices it lists: the
// devices that answered beyond the listed ones, and, when none answered at
// all, where it looked and what may have stopped the answers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/devices/device_table.h"
#include "core/engine/local_adapters.h"

namespace cli {

// "1234 more devices answered beyond the 65536 listed"; empty when none did.
std::string BeyondCapText(const TurnedAway& away, std::size_t listed);

// "no device answered", the adapters searched (`chosen` alone when it is
// not 0, as --adapter asks, else every one of `local`) with their masks, and
// the system's firewall note.
std::vector<std::string> NothingAnsweredLines(
    const std::vector<LocalAdapter>& local, std::uint32_t chosen);

}  // namespace cli
