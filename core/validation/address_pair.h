// The test of an IP address and subnet mask that follows the IP change
// dialogs' own check, before anything is sent.
#pragma once

#include <cstdint>
#include <string>

enum class AddressPairOutcome {
  Valid,
  // The address or the mask is 0.
  Zero,
  // The host part of the address is all zeros.
  Combination,
};

// The host part all ones (the subnet's broadcast address) is accepted.
AddressPairOutcome IsValidAddressPair(std::uint32_t ipAddress,
                                      std::uint32_t subnetMask);

// The text of the single-device change for `outcome`; empty when valid.
std::wstring AddressPairMessage(AddressPairOutcome outcome);
