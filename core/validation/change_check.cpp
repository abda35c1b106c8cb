#include "core/validation/change_check.h"

#include <algorithm>

#include "core/validation/address_pair.h"
#include "core/validation/ip_validation.h"

namespace {

// The address test that follows the dialogs, as a problem kind.
std::optional<ChangeProblemKind> AddressTestProblem(std::uint32_t ip,
                                                    std::uint32_t mask) {
  switch (IsValidAddressPair(ip, mask)) {
    case AddressPairOutcome::Zero:
      return ChangeProblemKind::ZeroAddress;
    case AddressPairOutcome::Combination:
      return ChangeProblemKind::NetworkAddress;
    case AddressPairOutcome::Valid:
      break;
  }
  return std::nullopt;
}

int PrefixLength(std::uint32_t mask) {
  int ones = 0;
  for (; mask != 0; mask <<= 1) ++ones;
  return ones;
}

}  // namespace

std::wstring ChangeProblemMessage(const ChangeProblem& problem) {
  const std::wstring address = AddressText(problem.address);
  const std::wstring mask = AddressText(problem.mask);
  switch (problem.kind) {
    case ChangeProblemKind::NonContiguousMask:
      return mask + L" is not a subnet mask: its ones must come first";
    case ChangeProblemKind::ZeroMask:
      return mask +
             L" (/0) is no subnet mask for a device: it makes every "
             L"IPv4 address one subnet";
    case ChangeProblemKind::HostlessMask:
      return mask + L" (/" + std::to_wstring(PrefixLength(problem.mask)) +
             L") leaves no address for a device beside the network and "
             L"broadcast addresses";
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

std::optional<ChangeProblem> MaskProblem(std::uint32_t mask) {
  std::optional<ChangeProblemKind> kind;
  const std::uint32_t hostBits = ~mask;
  // The host bits of a subnet mask are a run of trailing ones.
  if ((hostBits & (hostBits + 1)) != 0) {
    kind = ChangeProblemKind::NonContiguousMask;
  } else if (mask == 0) {
    kind = ChangeProblemKind::ZeroMask;
  } else if (hostBits <= 1) {
    kind = ChangeProblemKind::HostlessMask;
  }
  if (!kind) return std::nullopt;
  return ChangeProblem{*kind, 0, {}, mask};
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
                                       const IpSettings& current,
                                       const MacAddress& mac,
                                       const ChangeContext& context) {
  std::vector<ChangeProblem> problems;
  const std::uint32_t ip = proposed.ipAddress;
  const std::uint32_t mask = proposed.subnetMask;
  auto add = [&](ChangeProblemKind kind, const MacAddress& other = {}) {
    problems.push_back({kind, ip, other, mask});
  };
  const bool addressChanges = ip != current.ipAddress;
  const bool networkChanges = addressChanges || mask != current.subnetMask ||
                              proposed.gateway != current.gateway;
  if (networkChanges) {
    if (const auto bad = MaskProblem(mask)) add(bad->kind);
    if (!GatewayInSubnet(proposed))
      add(ChangeProblemKind::GatewayOutsideSubnet);
  }
  if (proposed.basePort != current.basePort &&
      !BasePortAccepted(proposed.basePort))
    add(ChangeProblemKind::BadBasePort);
  if (proposed.httpPort != current.httpPort &&
      !HttpPortAccepted(proposed.httpPort))
    add(ChangeProblemKind::BadHttpPort);
  if (!networkChanges) return problems;

  if (const auto kind = AddressTestProblem(ip, mask)) add(*kind);
  if (mask != 0 && (ip | mask) == 0xFFFFFFFFu)
    add(ChangeProblemKind::BroadcastAddress);
  if (ip == proposed.gateway) add(ChangeProblemKind::GatewayAddress);
  if (!addressChanges) return problems;

  if (std::find(context.localAddresses.begin(), context.localAddresses.end(),
                ip) != context.localAddresses.end())
    add(ChangeProblemKind::LocalAdapterAddress);
  if (context.shown) {
    if (const MacAddress* other = context.shown->OtherThan(ip, mac))
      add(ChangeProblemKind::ShownByDevice, *other);
  }
  if (context.planned) {
    if (const MacAddress* other = context.planned->OtherThan(ip, mac))
      add(ChangeProblemKind::PlannedTwice, *other);
  }
  return problems;
}

std::optional<ChangeProblem> WindowSingleChangeRefusal(
    const IpSettings& proposed) {
  const auto kind = AddressTestProblem(proposed.ipAddress, proposed.subnetMask);
  if (!kind) return std::nullopt;
  return ChangeProblem{*kind, proposed.ipAddress, {}, proposed.subnetMask};
}
