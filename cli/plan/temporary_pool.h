// The temporary addresses where devices wait while others take their
// addresses (a swap, a rotation, a long chain). Routers, servers and
// recorders that do not speak our protocol usually sit at the bottom of a
// subnet, so the default is taken from the top down, with a cursor rather
// than a rescan; an address the user names (--temp A or A-B) is taken as
// given. Before its first use each address is checked once on the link:
// something that answers ARP for it is not ours to take.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "cli/network/discovery.h"
#include "cli/plan/temporary_range.h"
#include "core/protocol/datagram.h"

namespace cli {

// One temporary address, handed out for one device's stay.
struct TemporarySlot {
  std::uint32_t address = 0;
  // Free or NotChecked; a held address is never handed out.
  Holding checked = Holding::Free;
  std::string why;  // with NotChecked
};

class TemporaryPool {
 public:
  // True when `address` is held (shown, asked for, a temporary stay),
  // planned or a gateway in `domain`.
  using Taken = std::function<bool(std::uint32_t domain, std::uint32_t)>;

  // Checks addresses on the link of `domain`.
  using Check = std::function<ProbeOutcome(
      const std::vector<std::uint32_t>& addresses, std::uint32_t domain)>;

  TemporaryPool(std::optional<TemporaryRange> named,
                std::vector<std::uint32_t> localAddresses, Check check,
                Taken taken);

  // An address for a device of `domain` that will have `settings` (its new
  // mask and gateway), checked on the link; none when none is left, with
  // `why` set. `wanted` is how many more the caller may ask for soon: so
  // many are checked together.
  std::optional<TemporarySlot> Take(std::uint32_t domain,
                                    const IpSettings& settings,
                                    std::size_t wanted, std::string* why);
  // The device has left `slot`: another may wait there.
  void GiveBack(std::uint32_t domain, const IpSettings& settings,
                const TemporarySlot& slot);

 private:
  // The addresses of one subnet of one domain.
  using Group = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>;
  struct Source {
    std::uint64_t next = 0;  // the cursor: the next candidate, counting down
    std::uint64_t end = 0;   // one below the last candidate
    std::vector<TemporarySlot> checked;  // ready to hand out
  };

  Source& SourceOf(std::uint32_t domain, const IpSettings& settings);
  // Why `address` cannot be a temporary address for `settings`; empty when
  // it can.
  std::string Refusal(std::uint32_t domain, const IpSettings& settings,
                      std::uint32_t address) const;
  // Pulls up to `count` candidates from the cursor and checks them together.
  void Refill(std::uint32_t domain, const IpSettings& settings, Source& source,
              std::size_t count);

  const std::optional<TemporaryRange> named_;
  const std::vector<std::uint32_t> localAddresses_;
  const Check check_;
  const Taken taken_;
  std::map<Group, Source> sources_;
};

}  // namespace cli
