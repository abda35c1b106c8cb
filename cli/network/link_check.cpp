#include "cli/network/link_check.h"

#include "cli/device/found_device.h"

namespace cli {

Holding HoldingAt(const ProbeOutcome& probed, std::size_t i,
                  const Listed& listed) {
  if (i >= probed.holdings.size()) return Holding::NotChecked;
  const Holding holding = probed.holdings[i];
  if (holding == Holding::Held && listed(HolderAt(probed, i)))
    return Holding::Free;
  return holding;
}

MacAddress HolderAt(const ProbeOutcome& probed, std::size_t i) {
  return i < probed.holders.size() ? probed.holders[i] : MacAddress{};
}

std::string HostText(std::uint32_t address, const MacAddress& mac) {
  return Dotted(address) + " answers on the network (" + MacString(mac) + ")";
}

}  // namespace cli
