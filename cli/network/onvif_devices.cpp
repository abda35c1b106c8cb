#include "cli/network/onvif_devices.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>

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

struct Candidate {
  OnvifHeard heard;
  // The address answered from equals the address listed: only then may
  // the neighbour table's entry for it be the device's own.
  bool fromListed = false;
  // The neighbour table's entry for that address, when it is so.
  std::optional<MacAddress> tableMac;
};

}  // namespace

std::vector<OnvifHeard> OnvifDevices(const std::vector<OnvifAnswer>& answers,
                                     const std::vector<LocalAdapter>& local,
                                     const std::vector<Neighbour>& neighbours) {
  std::vector<Candidate> candidates;
  std::map<std::string, std::size_t> byEndpoint;
  for (const OnvifAnswer& answer : answers) {
    const ProbeMatch& match = answer.match;
    const auto known = byEndpoint.find(match.endpoint);
    if (known != byEndpoint.end()) {
      std::vector<std::uint32_t>& on =
          candidates[known->second].heard.interfaces;
      if (std::find(on.begin(), on.end(), answer.interfaceIndex) == on.end())
        on.push_back(answer.interfaceIndex);
      continue;
    }
    const std::optional<std::uint32_t> listed =
        DeviceAddress(match.xaddrs, SubnetOf(local, answer.interfaceIndex));
    Candidate candidate;
    FoundDevice& device = candidate.heard.device;
    device.heardBy = HeardBy::Onvif;
    device.mac = match.about.mac;
    device.settings.ipAddress = listed ? *listed : answer.source;
    device.model = match.about.hardware;
    device.onvif =
        OnvifFacts{match.endpoint, match.about.name, match.about.hardware,
                   match.about.location, match.xaddrs};
    candidate.heard.interfaces = {answer.interfaceIndex};
    candidate.fromListed = listed && *listed == answer.source;
    byEndpoint[match.endpoint] = candidates.size();
    candidates.push_back(std::move(candidate));
  }

  // The neighbour table's MAC for each address that only it can name.
  std::unordered_map<std::uint32_t, MacAddress> table;
  for (const Neighbour& entry : neighbours) table[entry.address] = entry.mac;
  std::map<MacAddress, int> uses;
  for (Candidate& c : candidates) {
    if (c.heard.device.mac || !c.fromListed) continue;
    const auto entry = table.find(c.heard.device.settings.ipAddress);
    if (entry == table.end()) continue;
    c.tableMac = entry->second;
    ++uses[entry->second];
  }
  std::vector<OnvifHeard> devices;
  for (Candidate& c : candidates) {
    if (c.tableMac && uses[*c.tableMac] == 1) c.heard.device.mac = c.tableMac;
    devices.push_back(std::move(c.heard));
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
    same->second->heardBy = HeardBy::Both;
    same->second->onvif = std::move(device.onvif);
  }
  for (FoundDevice& device : added) devices->push_back(std::move(device));
}

}  // namespace cli
