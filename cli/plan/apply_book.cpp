// The book of addresses: who holds which address of which domain.
#include "cli/plan/apply_steps.h"

#include <algorithm>

#include "cli/format/text_formats.h"
#include "cli/network/link_check.h"

namespace cli {
namespace apply_steps {

void Machine::Place(std::size_t device, const std::vector<std::uint32_t>& may) {
  // Whoever waits for an address it let go may go now.
  for (std::uint32_t address : book_.Place(device, may)) {
    const std::size_t waiter = WaiterFor(book_[device].domain, address);
    if (waiter != NO_MOVE) ready_.push_back(waiter);
  }
}

MacAddress Machine::HolderOf(std::uint32_t domain, std::uint32_t address,
                             std::size_t self) const {
  const std::size_t holder = book_.OtherThan(domain, address, self);
  return book_[holder == AddressHolders::NOBODY ? self : holder].mac;
}

bool Machine::Taken(std::uint32_t domain, std::uint32_t address) const {
  const AddressKey key = KeyOf(domain, address);
  // An address given back is free again once its device has left it, so a
  // single --temp address breaks one cycle after another.
  return !book_.Vacant(domain, address, AddressHolders::NOBODY) ||
         targetOf_.count(key) || gateways_.count(key);
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
            return book_.Find(holder) != AddressHolders::NOBODY &&
                   book_.KindOf(holder) == Holder::Device;
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
  const std::size_t host = book_.Of(mac, domain);
  book_[host].kind = Holder::Host;
  book_.Book(host, address);
  EndedAt(host);
}

std::string Machine::HeldBy(const MacAddress& holder,
                            std::uint32_t address) const {
  switch (book_.KindOf(holder)) {
    case Holder::Host:
      return HostText(address, holder);
    case Holder::Onvif:
      return Dotted(address) + " is already the address of " +
             book_[book_.Find(holder)].label;
    case Holder::Device:
      break;
  }
  return Utf8(MacText(holder)) + " did not leave " + Dotted(address);
}

void Machine::GiveBack(std::uint32_t domain, const IpSettings& settings,
                       const TemporarySlot& slot) {
  pool_.GiveBack(domain, settings, slot);
  ++givenBack_;
}

}  // namespace apply_steps
}  // namespace cli
