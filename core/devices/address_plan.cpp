#include "core/devices/address_plan.h"

#include <algorithm>

namespace {

// Only the address decides: the input checks fail alike at every address and
// are the caller's to report.
bool Usable(const std::vector<ChangeProblem>& problems) {
  return std::all_of(problems.begin(), problems.end(),
                     [](const ChangeProblem& problem) {
                       return IsInputProblem(problem.kind);
                     });
}

// The caller's planned addresses and those given to earlier targets.
class PlannedSoFar : public AddressLookup {
 public:
  explicit PlannedSoFar(const AddressLookup* caller) : caller_(caller) {}
  void Add(std::uint32_t address, const MacAddress& mac) {
    given_.Add(address, mac);
  }
  const MacAddress* OtherThan(std::uint32_t address,
                              const MacAddress& self) const override {
    const MacAddress* other =
        caller_ ? caller_->OtherThan(address, self) : nullptr;
    return other ? other : given_.OtherThan(address, self);
  }

 private:
  const AddressLookup* caller_;
  AddressBook given_;
};

}  // namespace

AddressPlan PlanAddresses(std::uint32_t startIp, std::uint32_t subnetMask,
                          const std::vector<PlanTarget>& targets,
                          const ChangeContext& context) {
  // The addresses given to earlier targets count as planned for the later
  // ones.
  PlannedSoFar planned(context.planned);
  ChangeContext withPlanned = context;
  withPlanned.planned = &planned;

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
    if (k + 1 < targets.size()) planned.Add(settings.ipAddress, target.mac);
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
