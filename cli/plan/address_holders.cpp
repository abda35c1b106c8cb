#include "cli/plan/address_holders.h"

#include <algorithm>

#include "cli/format/text_formats.h"

namespace cli {

AddressHolders::AddressHolders(const std::vector<FoundDevice>& shown) {
  for (const FoundDevice& device : shown) {
    // An ONVIF-only device holds its address by its answer, below.
    if (!Changeable(device)) continue;
    const std::size_t d = Of(*device.mac, device.place.domain);
    Place(d, {device.settings.ipAddress});
    holders_[d].lastSeen = device.settings;
  }
  for (const OnvifHolder& holder : OnvifHolders(shown)) BookAnswer(holder);
}

std::size_t AddressHolders::BookAnswer(const OnvifHolder& holder) {
  const std::size_t booker =
      holder.tie == OnvifTie::StatedMac ? Find(*holder.ours) : OnvifOf(holder);
  if (booker != NOBODY) Book(booker, holder.address);
  return booker;
}

std::size_t AddressHolders::Of(const MacAddress& mac, std::uint32_t domain) {
  const auto [found, added] = ofMac_.emplace(MacKey(mac), holders_.size());
  if (added) {
    AddressHolder holder;
    holder.mac = mac;
    holder.domain = domain;
    holders_.push_back(std::move(holder));
  }
  return found->second;
}

std::size_t AddressHolders::OnvifOf(const OnvifHolder& holder) {
  const std::string key = std::to_string(holder.domain) + " " + holder.identity;
  const auto found = onvifOf_.find(key);
  if (found != onvifOf_.end()) return found->second;
  // A multicast MAC, which no device has, counted per answer.
  const std::size_t n = onvifOf_.size();
  const MacAddress mac{0xFF,
                       0xFF,
                       static_cast<std::uint8_t>(n >> 24),
                       static_cast<std::uint8_t>(n >> 16),
                       static_cast<std::uint8_t>(n >> 8),
                       static_cast<std::uint8_t>(n)};
  const std::size_t d = Of(mac, holder.domain);
  AddressHolder& added = holders_[d];
  added.kind = Holder::Onvif;
  added.label = holder.label;
  if (holder.tie == OnvifTie::NeighbourMac && holder.ours) {
    const std::size_t ours = Find(*holder.ours);
    if (ours != NOBODY) added.tiedTo = ours;
  }
  onvifOf_.emplace(key, d);
  return d;
}

std::size_t AddressHolders::Find(const MacAddress& mac) const {
  const auto found = ofMac_.find(MacKey(mac));
  return found == ofMac_.end() ? NOBODY : found->second;
}

void AddressHolders::Book(std::size_t holder, std::uint32_t address) {
  AddressHolder& h = holders_[holder];
  if (std::count(h.may.begin(), h.may.end(), address)) return;
  h.may.push_back(address);
  bookers_[KeyOf(h.domain, address)].push_back(holder);
}

std::vector<std::uint32_t> AddressHolders::Place(
    std::size_t holder, const std::vector<std::uint32_t>& may) {
  AddressHolder& h = holders_[holder];
  std::vector<std::uint32_t> left;
  for (std::uint32_t address : h.may) {
    if (std::count(may.begin(), may.end(), address)) continue;
    const AddressKey key = KeyOf(h.domain, address);
    std::vector<std::size_t>& bookers = bookers_[key];
    bookers.erase(std::remove(bookers.begin(), bookers.end(), holder),
                  bookers.end());
    if (bookers.empty()) bookers_.erase(key);
    left.push_back(address);
  }
  h.may.erase(std::remove_if(h.may.begin(), h.may.end(),
                             [&may](std::uint32_t address) {
                               return !std::count(may.begin(), may.end(),
                                                  address);
                             }),
              h.may.end());
  for (std::uint32_t address : may) Book(holder, address);
  return left;
}

bool AddressHolders::Vacant(std::uint32_t domain, std::uint32_t address,
                            std::size_t self) const {
  return OtherThan(domain, address, self) == NOBODY;
}

const std::vector<std::size_t>& AddressHolders::At(
    std::uint32_t domain, std::uint32_t address) const {
  static const std::vector<std::size_t> nobody;
  const auto found = bookers_.find(KeyOf(domain, address));
  return found == bookers_.end() ? nobody : found->second;
}

std::size_t AddressHolders::OtherThan(std::uint32_t domain,
                                      std::uint32_t address,
                                      std::size_t self) const {
  for (std::size_t holder : At(domain, address))
    if (holder != self) return holder;
  return NOBODY;
}

Holder AddressHolders::KindOf(const MacAddress& mac) const {
  const std::size_t found = Find(mac);
  return found == NOBODY ? Holder::Device : holders_[found].kind;
}

const MacAddress* AddressHolders::Domain::OtherThan(
    std::uint32_t address, const MacAddress& self) const {
  for (std::size_t holder : book_.At(domain_, address)) {
    const AddressHolder& h = book_.holders_[holder];
    const bool moving = h.move != NO_MOVE;
    if (h.mac == self || (counted_ == Counted::Staying && moving) ||
        (counted_ == Counted::Moving && !moving))
      continue;
    return &h.mac;
  }
  return nullptr;
}

std::string AddressHolders::ProblemText(const ChangeProblem& problem) const {
  if (problem.kind == ChangeProblemKind::ShownByDevice) {
    const std::size_t holder = Find(problem.other);
    if (holder != NOBODY && holders_[holder].kind == Holder::Onvif)
      return Dotted(problem.address) + " is already the address of " +
             holders_[holder].label;
  }
  return OneLine(ChangeProblemMessage(problem));
}

}  // namespace cli
