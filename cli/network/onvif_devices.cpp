#include "cli/network/onvif_devices.h"

#include <algorithm>
#include <map>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "core/wsdiscovery/xaddrs.h"

namespace cli {
namespace {

Subnet SubnetOf(const std::vector<LocalAdapter>& local,
                std::uint32_t interfaceIndex) {
  for (const LocalAdapter& adapter : local)
    if (adapter.index == interfaceIndex && adapter.address)
      return {adapter.address, adapter.mask};
  return {0, 0xFFFFFFFFu};  // no adapter: nothing is preferred
}

// A neighbour table entry: an address as one interface's link sees it. Two
// LANs behind two adapters may use the same subnet.
using LinkAddress = std::pair<std::uint32_t, std::uint32_t>;  // index, ip

std::optional<std::uint32_t> ListedAddress(
    const OnvifAnswer& answer, const std::vector<LocalAdapter>& local) {
  return DeviceAddress(answer.match.xaddrs,
                       SubnetOf(local, answer.interfaceIndex));
}

FoundDevice DeviceOf(const OnvifAnswer& answer,
                     const std::vector<LocalAdapter>& local) {
  const ProbeMatch& match = answer.match;
  const std::optional<std::uint32_t> listed = ListedAddress(answer, local);
  FoundDevice device;
  device.heardBy = HeardBy::Onvif;
  device.mac = match.about.mac;
  device.macSource = MacSource::Scope;
  device.settings.ipAddress = listed ? *listed : answer.source;
  device.model = match.about.hardware;
  device.onvif = OnvifFacts{match.endpoint,       match.about.name,
                            match.about.hardware, match.about.location,
                            match.xaddrs,         device.settings.ipAddress,
                            answer.source,        answer.interfaceIndex};
  return device;
}

// The neighbour table's entry that may name the device of `answer`: only
// when it states no MAC and answered from the very address it lists, on
// the link that heard it.
std::optional<LinkAddress> NeighbourEntryFor(
    const OnvifAnswer& answer, const std::vector<LocalAdapter>& local) {
  if (answer.match.about.mac || ListedAddress(answer, local) != answer.source)
    return std::nullopt;
  return LinkAddress{answer.interfaceIndex, answer.source};
}

}  // namespace

std::vector<OnvifHeard> OnvifDevices(const std::vector<OnvifAnswer>& answers,
                                     const std::vector<LocalAdapter>& local,
                                     const std::vector<Neighbour>& neighbours) {
  std::vector<OnvifHeard> devices;
  std::vector<std::optional<LinkAddress>> entries;  // of each row
  std::map<std::string, std::size_t> byIdentity;
  for (const OnvifAnswer& answer : answers) {
    FoundDevice device = DeviceOf(answer, local);
    const auto [known, added] =
        byIdentity.emplace(Identity(device), devices.size());
    if (added) {
      devices.push_back({std::move(device), {answer.interfaceIndex}});
      entries.push_back(NeighbourEntryFor(answer, local));
      continue;
    }
    std::vector<std::uint32_t>& on = devices[known->second].interfaces;
    if (std::find(on.begin(), on.end(), answer.interfaceIndex) == on.end())
      on.push_back(answer.interfaceIndex);
  }

  std::map<LinkAddress, MacAddress> table;
  for (const Neighbour& entry : neighbours)
    table[{entry.interfaceIndex, entry.address}] = entry.mac;
  // An entry two rows would take names at most one of them: neither.
  std::map<LinkAddress, int> uses;
  for (const std::optional<LinkAddress>& entry : entries)
    if (entry) ++uses[*entry];
  for (std::size_t n = 0; n < devices.size(); ++n) {
    if (!entries[n] || uses[*entries[n]] != 1) continue;
    const auto mac = table.find(*entries[n]);
    if (mac == table.end()) continue;
    devices[n].device.mac = mac->second;
    devices[n].device.macSource = MacSource::Neighbour;
  }
  return devices;
}

void MergeOnvif(std::vector<FoundDevice> onvif,
                std::vector<FoundDevice>* devices) {
  std::unordered_map<std::uint64_t, FoundDevice*> ours;
  for (FoundDevice& device : *devices)
    if (device.mac) ours[MacKey(*device.mac)] = &device;
  std::vector<FoundDevice> added;
  for (FoundDevice& device : onvif) {
    const auto same = device.mac ? ours.find(MacKey(*device.mac)) : ours.end();
    if (same == ours.end()) {
      added.push_back(std::move(device));
      continue;
    }
    FoundDevice& merged = *same->second;
    merged.heardBy = HeardBy::Both;
    merged.onvif = std::move(device.onvif);
    if (device.macSource == MacSource::Neighbour)
      merged.macSource = MacSource::Neighbour;
  }
  for (FoundDevice& device : added) devices->push_back(std::move(device));
}

}  // namespace cli
