// Reading the Linux kernel's text of its IPv4 neighbour table, /proc/net/arp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/protocol/datagram.h"

struct ProcArpRow {
  std::uint32_t address = 0;  // numeric form
  MacAddress mac{};
  std::string device;  // "qa0", "eth0.100"
};

// The rows of a /proc/net/arp text that have a link-layer address, in table
// order. The heading, entries still being resolved or that failed (no
// "complete" flag, a zero address) and any line that does not parse are left
// out.
std::vector<ProcArpRow> ParseProcNetArp(const std::string& text);
