// The book of addresses: who holds which address of which domain.
#include "cli/plan/apply_steps.h"

#include <algorithm>

#include "cli/format/text_formats.h"
#include "cli/network/link_check.h"

namespace cli {
namespace apply_steps {

std::size_t Machine::DeviceOf(const MacAddress& mac, std::uint32_t domain) {
  const auto [found, added] =
      deviceOfMac_.emplace(MacKey(mac), devices_.size());
  if (added) {
    devices_.push_back(
        {mac, domain, {}, std::nullopt, 0, NO_MOVE, Holder::Device, {}, {}});
  }
  return found->second;
}

void Machine::Book(std::size_t device, std::uint32_t address) {
  Device& d = devices_[device];
  if (std::count(d.may.begin(), d.may.end(), address)) return;
  d.may.push_back(address);
  bookers_[KeyOf(d.domain, address)].push_back(device);
}

void Machine::Place(std::size_t device, std::vector<std::uint32_t> may) {
  Device& d = devices_[device];
  for (std::uint32_t address : d.may) {
    if (std::count(may.begin(), may.end(), address)) continue;
    const Key key = KeyOf(d.domain, address);
    std::vector<std::size_t>& bookers = bookers_[key];
    bookers.erase(std::remove(bookers.begin(), bookers.end(), device),
                  bookers.end());
    if (bookers.empty()) bookers_.erase(key);
    // Whoever waits for it may go now.
    const std::size_t waiter = WaiterFor(d.domain, address);
    if (waiter != NO_MOVE) ready_.push_back(waiter);
  }
  const std::vector<std::uint32_t> kept = d.may;
  d.may.clear();
  for (std::uint32_t address : kept)
    if (std::count(may.begin(), may.end(), address)) d.may.push_back(address);
  for (std::uint32_t address : may) Book(device, address);
}

bool Machine::Vacant(std::uint32_t domain, std::uint32_t address,
                     std::size_t self) const {
  const auto found = bookers_.find(KeyOf(domain, address));
  if (found == bookers_.end()) return true;
  for (std::size_t device : found->second)
    if (device != self) return false;
  return true;
}

MacAddress Machine::HolderOf(std::uint32_t domain, std::uint32_t address,
                             std::size_t self) const {
  const auto found = bookers_.find(KeyOf(domain, address));
  if (found != bookers_.end())
    for (std::size_t device : found->second)
      if (device != self) return devices_[device].mac;
  return devices_[self].mac;
}

bool Machine::Taken(std::uint32_t domain, std::uint32_t address) const {
  const Key key = KeyOf(domain, address);
  // An address given back is free again once its device has left it, so a
  // single --temp address breaks one cycle after another.
  return bookers_.count(key) || targetOf_.count(key) || gateways_.count(key);
}

std::size_t Machine::WaiterFor(std::uint32_t domain,
                               std::uint32_t address) const {
  const auto found = targetOf_.find(KeyOf(domain, address));
  if (found == targetOf_.end()) return NO_MOVE;
  const Move& move = moves_[found->second];
  const bool pending = move.phase == Phase::Waiting ||
                       (move.phase == Phase::Parked && !move.returning);
  return pending ? found->second : NO_MOVE;
}

ProbeOutcome Machine::CheckOnLink(const std::vector<std::uint32_t>& addresses,
                                  std::uint32_t domain) {
  ProbeOutcome all;
  for (std::size_t from = 0; from < addresses.size();
       from += LINK_CHECK_BATCH) {
    const std::vector<std::uint32_t> batch(
        addresses.begin() + static_cast<std::ptrdiff_t>(from),
        addresses.begin() + static_cast<std::ptrdiff_t>(std::min(
                                from + LINK_CHECK_BATCH, addresses.size())));
    const ProbeOutcome probed = link_.Probe(batch, domain);
    if (!probed.why.empty()) all.why = probed.why;
    for (std::size_t i = 0; i < batch.size(); ++i) {
      const MacAddress mac = HolderAt(probed, i);
      const Holding holding =
          HoldingAt(probed, i, [this](const MacAddress& holder) {
            return deviceOfMac_.count(MacKey(holder)) &&
                   KindOf(holder) == Holder::Device;
          });
      if (holding == Holding::Held) HostAt(domain, batch[i], mac);
      all.holdings.push_back(holding);
      all.holders.push_back(mac);
    }
  }
  return all;
}

// A host holds its address for good: whoever waits for it is blocked.
void Machine::HostAt(std::uint32_t domain, std::uint32_t address,
                     const MacAddress& mac) {
  const std::size_t host = DeviceOf(mac, domain);
  devices_[host].kind = Holder::Host;
  Book(host, address);
  EndedAt(host);
}

std::string Machine::HeldBy(const MacAddress& holder,
                            std::uint32_t address) const {
  switch (KindOf(holder)) {
    case Holder::Host:
      return HostText(address, holder);
    case Holder::Onvif:
      return Dotted(address) + " is already the address of " +
             devices_[deviceOfMac_.at(MacKey(holder))].label;
    case Holder::Device:
      break;
  }
  return Utf8(MacText(holder)) + " did not leave " + Dotted(address);
}

Holder Machine::KindOf(const MacAddress& mac) const {
  const auto found = deviceOfMac_.find(MacKey(mac));
  return found == deviceOfMac_.end() ? Holder::Device
                                     : devices_[found->second].kind;
}

void Machine::GiveBack(std::uint32_t domain, const IpSettings& settings,
                       const TemporarySlot& slot) {
  pool_.GiveBack(domain, settings, slot);
  ++givenBack_;
}

}  // namespace apply_steps
}  // namespace cli
