#include "core/validation/address_pair.h"

AddressPairOutcome IsValidAddressPair(std::uint32_t ipAddress,
                                      std::uint32_t subnetMask) {
  if (ipAddress == 0 || subnetMask == 0) return AddressPairOutcome::Zero;
  if ((ipAddress & ~subnetMask) == 0) return AddressPairOutcome::Combination;
  return AddressPairOutcome::Valid;
}

std::wstring AddressPairMessage(AddressPairOutcome outcome) {
  switch (outcome) {
    case AddressPairOutcome::Valid:
      return L"";
    case AddressPairOutcome::Zero:
      return L"You entered an invalid parameter.\n Please check IP address, "
             L"Gateway and Subnet mask.";
    case AddressPairOutcome::Combination:
      return L"The combination of IP address and subnet mask is invalid.\n "
             L"Please enter a valid combination of IP address and subnet "
             L"mask.";
  }
  return L"";
}
