// Which address each device of a batch gets when they are numbered from a
// start address: the subnet's addresses from the start upwards, each device
// taking the first one that the change checker finds no conflict with.
// The window's multi-device change and the command line's numbered plan
// both plan this way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/validation/change_check.h"

struct PlanTarget {
  MacAddress mac{};
  IpSettings current;   // what the device shows
  IpSettings settings;  // what it is given besides its address
};

struct AddressPlan {
  // False when the subnet has fewer usable addresses above the start than
  // there are targets; `addresses` is then empty.
  bool enough = false;
  // addresses[k] is the address for targets[k], numeric form.
  std::vector<std::uint32_t> addresses;
};

// The subnet is every address that agrees with `startIp` on the bits of
// `subnetMask`; its addresses are visited in increasing order of their host
// bits, so a mask that is not a run of leading ones still yields only subnet
// addresses, and the plan never wraps past the subnet's end to addresses
// below the start. An address is usable for a target when CheckChange, with
// the target's settings at that address, `context` and the addresses planned
// for the targets before it, finds no problem but input problems (those are
// the same at every address, and the caller's to report). A target may be
// given the address it already has.
AddressPlan PlanAddresses(std::uint32_t startIp, std::uint32_t subnetMask,
                          const std::vector<PlanTarget>& targets,
                          const ChangeContext& context);

// The message shown, with the caption "Quellan", when there is no room.
std::wstring NotEnoughAddressesMessage(int deviceCount);
