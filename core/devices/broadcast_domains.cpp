#include "core/devices/broadcast_domains.h"

#include <algorithm>
#include <utility>

BroadcastDomains::BroadcastDomains(std::vector<LocalAdapter> adapters,
                                   const IngressRecord& heard)
    : adapters_(std::move(adapters)) {
  // Union-find over interface indexes; each root is the lowest index of its
  // set, so that it names the domain the same way whatever the order.
  std::unordered_map<std::uint32_t, std::uint32_t> parent;
  auto find = [&parent](std::uint32_t x) {
    parent.emplace(x, x);
    while (parent[x] != x) {
      parent[x] = parent[parent[x]];
      x = parent[x];
    }
    return x;
  };
  heard.ForEach([&](const std::vector<std::uint32_t>& interfaces) {
    for (std::uint32_t other : interfaces) {
      const std::uint32_t a = find(interfaces.front()), b = find(other);
      parent[std::max(a, b)] = std::min(a, b);
    }
  });
  for (const auto& entry : parent) domainOf_[entry.first] = find(entry.first);
}

std::uint32_t BroadcastDomains::DomainOf(std::uint32_t interfaceIndex) const {
  const auto found = domainOf_.find(interfaceIndex);
  return found == domainOf_.end() ? interfaceIndex : found->second;
}

const LocalAdapter* BroadcastDomains::AdapterOf(
    std::uint32_t interfaceIndex) const {
  for (const LocalAdapter& adapter : adapters_)
    if (adapter.index == interfaceIndex && adapter.address != 0)
      return &adapter;
  return nullptr;
}

Placement BroadcastDomains::Place(
    const DeviceInfo& device, const std::vector<std::uint32_t>& heardOn) const {
  Placement place;
  if (heardOn.empty()) return place;
  place.domain = DomainOf(heardOn.front());
  auto lowest = [](std::uint32_t* kept, std::uint32_t address) {
    if (*kept == 0 || address < *kept) *kept = address;
  };
  for (std::uint32_t interfaceIndex : heardOn) {
    const LocalAdapter* adapter = AdapterOf(interfaceIndex);
    if (!adapter) continue;
    lowest(&place.adapter, adapter->address);
    if ((adapter->address & adapter->mask) ==
        (device.ipAddress & adapter->mask))
      lowest(&place.reachableFrom, adapter->address);
  }
  return place;
}

std::vector<std::uint32_t> BroadcastDomains::AdapterAddresses(
    std::uint32_t domain) const {
  std::vector<std::uint32_t> addresses;
  for (const LocalAdapter& adapter : adapters_)
    if (adapter.address != 0 && DomainOf(adapter.index) == domain)
      addresses.push_back(adapter.address);
  std::sort(addresses.begin(), addresses.end());
  return addresses;
}
