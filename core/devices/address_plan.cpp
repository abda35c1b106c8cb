#include "core/devices/address_plan.h"

#include <algorithm>
#include <optional>

namespace {

// Only the address decides: the input checks fail alike at every address and
// are the caller's to report.
bool Usable(const std::vector<ChangeProblem>& problems) {
  return std::all_of(problems.begin(), problems.end(),
                     [](const ChangeProblem& problem) {
                       return IsInputProblem(problem.kind);
                     });
}

}  // namespace

AddressPlan PlanAddresses(std::uint32_t startIp, std::uint32_t subnetMask,
                          const std::vector<PlanTarget>& targets,
                          const ChangeContext& context) {
  // The addresses given to earlier targets count as planned for the later
  // ones. The caller's book is copied only when a later target needs them,
  // so that a caller numbering one target at a time (a plan file, row by
  // row) pays no copy per row.
  std::optional<AddressBook> planned;
  ChangeContext withPlanned = context;

  const std::uint32_t network = startIp & subnetMask;
  const std::uint32_t hostBits = ~subnetMask;
  std::uint32_t host = startIp & hostBits;
  bool visitedAll = false;
  AddressPlan plan;
  for (std::size_t k = 0; k < targets.size(); ++k) {
    const PlanTarget& target = targets[k];
    IpSettings settings = target.settings;
    bool found = false;
    while (!found && !visitedAll) {
      settings.ipAddress = network | host;
      found = Usable(
          CheckChange(settings, target.current, target.mac, withPlanned));
      if (host == hostBits) {
        visitedAll = true;
      } else {
        // Setting the mask bits makes the carry of the increment skip them,
        // so the next value of the host bits alone comes out.
        host = ((host | subnetMask) + 1) & hostBits;
      }
    }
    if (!found) break;
    plan.addresses.push_back(settings.ipAddress);
    if (k + 1 < targets.size()) {
      if (!planned) {
        planned = context.planned ? *context.planned : AddressBook();
        withPlanned.planned = &*planned;
      }
      planned->Add(settings.ipAddress, target.mac);
    }
  }
  plan.enough = plan.addresses.size() == targets.size();
  if (!plan.enough) plan.addresses.clear();
  return plan;
}

std::wstring NotEnoughAddressesMessage(int deviceCount) {
  return L"There are not enough free addresses in the subnet for " +
         std::to_wstring(deviceCount) +
         L" devices.\r\nPlease check Start IP and Subnet mask.";
}
