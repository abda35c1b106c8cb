#include "cli/device/subnet_reach.h"

#include "cli/device/found_device.h"

namespace cli {
namespace {

std::string SubnetText(std::uint32_t address, std::uint32_t mask) {
  return Dotted(address & mask) + "/" + Dotted(mask);
}

// "10.77.0.1 (eth0.100)"; Windows has no short names.
std::string AdapterText(const LocalAdapter& adapter) {
  const std::string address = Dotted(adapter.address);
  return adapter.name.empty() ? address : address + " (" + adapter.name + ")";
}

}  // namespace

std::string LeavingSubnetsWarning(const std::string& who,
                                  const IpSettings& current,
                                  const IpSettings& proposed,
                                  const std::vector<LocalAdapter>& adapters) {
  if (adapters.empty() || (proposed.ipAddress == current.ipAddress &&
                           proposed.subnetMask == current.subnetMask))
    return std::string();
  std::string subnets;
  for (const LocalAdapter& adapter : adapters) {
    if ((adapter.address & adapter.mask) == (proposed.ipAddress & adapter.mask))
      return std::string();
    subnets += (subnets.empty() ? "" : ", ") +
               SubnetText(adapter.address, adapter.mask);
  }
  return who + " moves to " + Dotted(proposed.ipAddress) +
         ", outside the subnets of this computer's adapters in its "
         "broadcast domain (" +
         subnets +
         "): the next search marks it not reachable. To reach it "
         "afterwards, give the adapter " +
         AdapterText(adapters.front()) + " an address in " +
         SubnetText(proposed.ipAddress, proposed.subnetMask) + " as well.";
}

std::vector<LocalAdapter> AdaptersWith(
    const std::vector<std::uint32_t>& addresses,
    const std::vector<LocalAdapter>& local) {
  std::vector<LocalAdapter> found;
  for (std::uint32_t address : addresses)
    for (const LocalAdapter& adapter : local)
      if (adapter.address == address) found.push_back(adapter);
  return found;
}

}  // namespace cli
