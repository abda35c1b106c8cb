#include "core/validation/change_check.h"

#include <algorithm>

#include "core/validation/address_pair.h"
#include "core/validation/ip_validation.h"

std::wstring ChangeProblemMessage(const ChangeProblem& problem) {
  const std::wstring address = AddressText(problem.address);
  switch (problem.kind) {
    case ChangeProblemKind::GatewayOutsideSubnet:
      return IpInputErrorMessage(IP_INPUT_BAD_NETWORK);
    case ChangeProblemKind::BadBasePort:
      return IpInputErrorMessage(IP_INPUT_BAD_BASE_PORT);
    case ChangeProblemKind::BadHttpPort:
      return IpInputErrorMessage(IP_INPUT_BAD_HTTP_PORT);
    case ChangeProblemKind::ZeroAddress:
      return AddressPairMessage(AddressPairOutcome::Zero);
    case ChangeProblemKind::NetworkAddress:
      return AddressPairMessage(AddressPairOutcome::Combination);
    case ChangeProblemKind::BroadcastAddress:
      return address + L" is the subnet's broadcast address";
    case ChangeProblemKind::GatewayAddress:
      return address + L" is the gateway";
    case ChangeProblemKind::LocalAdapterAddress:
      return address + L" is an address of this computer";
    case ChangeProblemKind::ShownByDevice:
      return address + L" is already the address of " + MacText(problem.other);
    case ChangeProblemKind::PlannedTwice:
      return address + L" is also planned for " + MacText(problem.other);
  }
  return std::wstring();
}

bool IsInputProblem(ChangeProblemKind kind) {
  return kind <= ChangeProblemKind::BadHttpPort;
}

void AddressBook::Add(std::uint32_t address, const MacAddress& mac) {
  entries_.emplace(address, mac);
}

const MacAddress* AddressBook::OtherThan(std::uint32_t address,
                                         const MacAddress& self) const {
  const auto [first, last] = entries_.equal_range(address);
  for (auto entry = first; entry != last; ++entry)
    if (entry->second != self) return &entry->second;
  return nullptr;
}

std::vector<ChangeProblem> CheckChange(const IpSettings& proposed,
                                       const DeviceInfo& current,
                                       const ChangeContext& context) {
  std::vector<ChangeProblem> problems;
  const std::uint32_t ip = proposed.ipAddress;
  auto add = [&](ChangeProblemKind kind, const MacAddress& other = {}) {
    problems.push_back({kind, ip, other});
  };
  if (!GatewayInSubnet(proposed)) add(ChangeProblemKind::GatewayOutsideSubnet);
  if (!BasePortAccepted(proposed.basePort)) add(ChangeProblemKind::BadBasePort);
  if (!HttpPortAccepted(proposed.httpPort)) add(ChangeProblemKind::BadHttpPort);
  switch (IsValidAddressPair(ip, proposed.subnetMask)) {
    case AddressPairOutcome::Zero:
      add(ChangeProblemKind::ZeroAddress);
      break;
    case AddressPairOutcome::Combination:
      add(ChangeProblemKind::NetworkAddress);
      break;
    case AddressPairOutcome::Valid:
      break;
  }
  if (ip == current.ipAddress) return problems;

  if (proposed.subnetMask != 0 && (ip | proposed.subnetMask) == 0xFFFFFFFFu)
    add(ChangeProblemKind::BroadcastAddress);
  if (ip == proposed.gateway) add(ChangeProblemKind::GatewayAddress);
  if (std::find(context.localAddresses.begin(), context.localAddresses.end(),
                ip) != context.localAddresses.end())
    add(ChangeProblemKind::LocalAdapterAddress);
  if (context.shown) {
    if (const MacAddress* other =
            context.shown->OtherThan(ip, current.macAddress))
      add(ChangeProblemKind::ShownByDevice, *other);
  }
  if (context.planned) {
    if (const MacAddress* other =
            context.planned->OtherThan(ip, current.macAddress))
      add(ChangeProblemKind::PlannedTwice, *other);
  }
  return problems;
}

std::optional<ChangeProblem> WindowSingleChangeRefusal(
    const IpSettings& proposed, const DeviceInfo& current) {
  for (const ChangeProblem& problem : CheckChange(proposed, current, {})) {
    if (problem.kind == ChangeProblemKind::ZeroAddress ||
        problem.kind == ChangeProblemKind::NetworkAddress)
      return problem;
  }
  return std::nullopt;
}
