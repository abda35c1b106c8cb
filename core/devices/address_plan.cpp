#include "core/devices/address_plan.h"

#include <algorithm>

AddressPlan PlanAddresses(std::uint32_t startIp, std::uint32_t subnetMask,
                          std::size_t targetCount,
                          std::vector<std::uint32_t> takenByOthers) {
  std::sort(takenByOthers.begin(), takenByOthers.end());
  const std::uint32_t network = startIp & subnetMask;
  const std::uint32_t hostBits = ~subnetMask;

  AddressPlan plan;
  std::uint32_t host = startIp & hostBits;
  while (plan.addresses.size() < targetCount) {
    const std::uint32_t address = network | host;
    const bool reserved = host == 0 || host == hostBits;
    if (!reserved && !std::binary_search(takenByOthers.begin(),
                                         takenByOthers.end(), address))
      plan.addresses.push_back(address);
    if (host == hostBits) break;
    // Setting the mask bits makes the carry of the increment skip them, so
    // the next value of the host bits alone comes out.
    host = ((host | subnetMask) + 1) & hostBits;
  }
  plan.enough = plan.addresses.size() == targetCount;
  if (!plan.enough) plan.addresses.clear();
  return plan;
}

std::wstring NotEnoughAddressesMessage(int deviceCount) {
  return L"There are not enough free addresses in the subnet for " +
         std::to_wstring(deviceCount) +
         L" devices.\r\nPlease check Start IP and Subnet mask.";
}
