// The ONVIF answers in the book. A camera may share an address with a
// device of ours and be merged with it on the neighbour table's MAC alone,
// so an address where an answer is heard is never given away on our
// protocol's word: it frees only when a verifying search hears no answer
// there.
#include <algorithm>
#include <unordered_map>

#include "cli/plan/apply_steps.h"

namespace cli {
namespace apply_steps {

void Machine::HeardOnvif(const std::vector<OnvifHolder>& heard,
                         const std::vector<std::uint32_t>& domains) {
  std::unordered_map<std::size_t, std::vector<std::uint32_t>> at;
  for (const OnvifHolder& holder : heard) {
    // An answer that states our device's MAC is that device, which the
    // search heard where it is: the address it lists is its own as well.
    if (holder.tie != OnvifTie::StatedMac) {
      at[book_.OnvifOf(holder)].push_back(holder.address);
      continue;
    }
    const std::size_t ours = book_.BookAnswer(holder);
    if (ours != AddressHolders::NOBODY && !MayMove(ours)) EndedAt(ours);
  }
  for (std::size_t d = 0; d < book_.size(); ++d) {
    const AddressHolder& device = book_[d];
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
  const AddressHolder& d = book_[device];
  if (d.tiedTo) return MayMove(*d.tiedTo);
  return d.move != NO_MOVE && moves_[d.move].phase != Phase::Ended &&
         moves_[d.move].phase != Phase::Done;
}

}  // namespace apply_steps
}  // namespace cli
