#include "cli/device/site_sheet.h"

#include <algorithm>
#include <bitset>
#include <map>
#include <tuple>

#include "cli/format/text_formats.h"

namespace cli {
namespace {

const char* const HEADINGS[] = {"Broadcast domain", "Subnet",
                                "Devices",          "Conflicts",
                                "Not reachable",    "Addresses in use"};

struct Subnet {
  int devices = 0;
  int conflicts = 0;
  int unreachable = 0;
  std::vector<std::uint32_t> addresses;
};

SheetCell Text(const std::string& text) { return {CellKind::Text, text}; }
SheetCell Number(int count) {
  return {CellKind::Number, std::to_string(count)};
}

}  // namespace

std::string WithPrefix(std::uint32_t address, std::uint32_t mask) {
  return Dotted(address) + "/" + std::to_string(std::bitset<32>(mask).count());
}

std::string AddressRanges(std::vector<std::uint32_t> addresses) {
  std::sort(addresses.begin(), addresses.end());
  addresses.erase(std::unique(addresses.begin(), addresses.end()),
                  addresses.end());
  std::vector<std::string> ranges;
  for (std::size_t i = 0; i < addresses.size();) {
    std::size_t last = i;
    while (last + 1 < addresses.size() &&
           addresses[last + 1] == addresses[last] + 1)
      ++last;
    ranges.push_back(Dotted(addresses[i]) +
                     (last > i ? "-" + Dotted(addresses[last]) : ""));
    i = last + 1;
  }
  return Joined(ranges, ", ");
}

SiteRows SiteSheetRows(const SiteFacts& facts,
                       const std::vector<FoundDevice>& devices) {
  SiteRows site;
  site.rows = {{Text("Searched"), Text(facts.searched)},
               {Text("Computer"), Text(facts.computer)},
               {Text("Adapters"), Text(Joined(facts.adapters, ", "))},
               {Text("Quellan version"), Text(facts.version)},
               {}};
  site.headerRow = site.rows.size();
  site.rows.emplace_back();
  for (const char* heading : HEADINGS)
    site.rows.back().push_back(Text(heading));
  // By the domain's adapter, then the subnet's number and size.
  std::map<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>, Subnet>
      subnets;
  for (const FoundDevice& device : devices) {
    const IpSettings& settings = device.settings;
    const std::uint32_t mask = settings.subnetMask;
    Subnet& subnet =
        subnets[{device.place.adapter, settings.ipAddress & mask, mask}];
    ++subnet.devices;
    subnet.conflicts += device.conflict ? 1 : 0;
    subnet.unreachable += device.place.reachableFrom ? 0 : 1;
    subnet.addresses.push_back(settings.ipAddress);
  }
  for (const auto& [key, subnet] : subnets) {
    const auto& [adapter, network, mask] = key;
    site.rows.push_back({Text(adapter ? Dotted(adapter) : "none"),
                         Text(mask ? WithPrefix(network, mask) : "unknown"),
                         Number(subnet.devices), Number(subnet.conflicts),
                         Number(subnet.unreachable),
                         Text(AddressRanges(subnet.addresses))});
  }
  return site;
}

}  // namespace cli
