// Which address each device of a multi-device change would get: consecutive
// addresses of the subnet from the start IP upwards, leaving out the subnet's
// network and broadcast addresses and every address another listed device
// already shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct AddressPlan {
  // False when the subnet has fewer free addresses above the start IP than
  // there are targets; `addresses` is then empty.
  bool enough = false;
  // addresses[k] is the address for the k-th target, numeric form.
  std::vector<std::uint32_t> addresses;
};

// Addresses in the numeric form (a << 24) | (b << 16) | (c << 8) | d.
// The subnet is every address that agrees with `startIp` on the bits of
// `subnetMask`; they are visited in increasing order of their host bits, so a
// mask that is not a run of leading ones still yields only subnet addresses.
// The plan never wraps past the subnet's end to addresses below the start.
// A /31 or /32 has no address besides its network and broadcast addresses and
// so never has room.
AddressPlan PlanAddresses(std::uint32_t startIp, std::uint32_t subnetMask,
                          std::size_t targetCount,
                          std::vector<std::uint32_t> takenByOthers);

// The message shown, with the caption "Quellan", when there is no room.
std::wstring NotEnoughAddressesMessage(int deviceCount);
