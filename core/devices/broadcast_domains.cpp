#include "core/devices/broadcast_domains.h"

#include <algorithm>
#include <utility>

namespace {

// Union-find over interface indexes; each root is the lowest index of its
// set, so that it names the domain the same way whatever the order.
class InterfaceSets {
 public:
  void Join(std::uint32_t a, std::uint32_t b) {
    a = Find(a);
    b = Find(b);
    parent_[std::max(a, b)] = std::min(a, b);
  }
  // Each interface seen, with its set's lowest index.
  std::unordered_map<std::uint32_t, std::uint32_t> Roots() {
    std::unordered_map<std::uint32_t, std::uint32_t> roots;
    for (const auto& entry : parent_) roots[entry.first] = Find(entry.first);
    return roots;
  }

 private:
  std::uint32_t Find(std::uint32_t x) {
    parent_.emplace(x, x);
    while (parent_[x] != x) {
      parent_[x] = parent_[parent_[x]];
      x = parent_[x];
    }
    return x;
  }

  std::unordered_map<std::uint32_t, std::uint32_t> parent_;
};

}  // namespace

BroadcastDomains::BroadcastDomains(std::vector<LocalAdapter> adapters,
                                   const IngressRecord& heard)
    : adapters_(std::move(adapters)) {
  InterfaceSets sets;
  heard.ForEach([&sets](const std::vector<std::uint32_t>& interfaces) {
    for (std::uint32_t other : interfaces) sets.Join(interfaces.front(), other);
  });
  domainOf_ = sets.Roots();
}

void BroadcastDomains::Unite(const BroadcastDomains& later) {
  adapters_ = later.adapters_;
  InterfaceSets sets;
  for (const auto& entry : domainOf_) sets.Join(entry.first, entry.second);
  for (const auto& entry : later.domainOf_)
    sets.Join(entry.first, entry.second);
  domainOf_ = sets.Roots();
}

std::uint32_t BroadcastDomains::DomainOf(std::uint32_t interfaceIndex) const {
  const auto found = domainOf_.find(interfaceIndex);
  return found == domainOf_.end() ? interfaceIndex : found->second;
}

Placement BroadcastDomains::Place(
    std::uint32_t address, const std::vector<std::uint32_t>& heardOn) const {
  Placement place;
  if (heardOn.empty()) return place;
  place.domain = DomainOf(heardOn.front());
  auto lowest = [](std::uint32_t* kept, std::uint32_t address) {
    if (*kept == 0 || address < *kept) *kept = address;
  };
  for (const LocalAdapter& adapter : adapters_) {
    if (adapter.address == 0 || DomainOf(adapter.index) != place.domain)
      continue;
    lowest(&place.adapter, adapter.address);
    if ((adapter.address & adapter.mask) == (address & adapter.mask))
      lowest(&place.reachableFrom, adapter.address);
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
