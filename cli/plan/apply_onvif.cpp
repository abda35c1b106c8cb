// The ONVIF answers in the book. A camera may share an address with a
// device of ours and be merged with it on the neighbour table's MAC alone,
// so an address where an answer is heard is never given away on our
// protocol's word: it frees only when a verifying search hears no answer
// there.
#include <algorithm>
#include <string>
#include <unordered_map>

#include "cli/plan/apply_steps.h"

namespace cli {
namespace apply_steps {
namespace {

std::string OnvifKey(std::uint32_t domain, const std::string& identity) {
  return std::to_string(domain) + " " + identity;
}

}  // namespace

std::size_t Machine::OnvifOf(const OnvifHolder& holder) {
  const std::string key = OnvifKey(holder.domain, holder.identity);
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
  const std::size_t d = DeviceOf(mac, holder.domain);
  Device& device = devices_[d];
  device.kind = Holder::Onvif;
  device.label = holder.label;
  if (holder.tie == OnvifTie::NeighbourMac && holder.ours &&
      deviceOfMac_.count(MacKey(*holder.ours)))
    device.tiedTo = deviceOfMac_.at(MacKey(*holder.ours));
  onvifOf_.emplace(key, d);
  return d;
}

void Machine::HeardOnvif(const std::vector<OnvifHolder>& heard,
                         const std::vector<std::uint32_t>& domains) {
  std::unordered_map<std::size_t, std::vector<std::uint32_t>> at;
  for (const OnvifHolder& holder : heard) {
    // An answer that states our device's MAC is that device, which the
    // search heard where it is.
    if (holder.tie == OnvifTie::StatedMac) continue;
    at[OnvifOf(holder)].push_back(holder.address);
  }
  for (std::size_t d = 0; d < devices_.size(); ++d) {
    const Device& device = devices_[d];
    if (device.kind != Holder::Onvif ||
        std::find(domains.begin(), domains.end(), device.domain) ==
            domains.end())
      continue;
    const auto found = at.find(d);
    Place(d, found == at.end() ? std::vector<std::uint32_t>{} : found->second);
    if (!MayMove(d)) EndedAt(d);
  }
}

bool Machine::MayMove(std::size_t device) const {
  const Device& d = devices_[device];
  if (d.tiedTo) return MayMove(*d.tiedTo);
  return d.move != NO_MOVE && moves_[d.move].phase != Phase::Ended &&
         moves_[d.move].phase != Phase::Done;
}

}  // namespace apply_steps
}  // namespace cli
