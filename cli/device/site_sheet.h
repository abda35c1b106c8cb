// The hand-over sheet of a search's workbook: when, from which computer and
// adapters and with which version the search ran, then a row per broadcast
// domain and subnet with its devices, its conflicts, those not reachable
// from this computer and the addresses in use, as ranges. The as-built
// list an installer hands to the customer beside the Devices sheet.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cli/device/found_device.h"
#include "cli/format/sheet_lines.h"

namespace cli {

struct SiteFacts {
  std::string searched;  // local time, "2026-12-10 14:05"
  std::string computer;
  std::vector<std::string> adapters;  // "10.77.0.1/24" each
  std::string version;
};

struct SiteRows {
  std::vector<SheetRow> rows;
  std::size_t headerRow = 0;  // the row that heads the subnets' table
};

SiteRows SiteSheetRows(const SiteFacts& facts,
                       const std::vector<FoundDevice>& devices);

// "10.77.0.11-10.77.0.14, 10.77.0.19" for the addresses given, in any
// order, each once.
std::string AddressRanges(std::vector<std::uint32_t> addresses);

// "10.77.0.1/24" for an address and its mask.
std::string WithPrefix(std::uint32_t address, std::uint32_t mask);

}  // namespace cli
