// Every rule that accepts or refuses a change of a device's network
// settings, in one place. The window, the multi-device plan and the command
// line all ask here; each front end then acts on the problems it is meant
// to act on (the window's single change only on the address test that
// follows its dialog, the command line on every one).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/protocol/datagram.h"

// Input problems come first (IsInputProblem): the settings are wrong at any
// address.
enum class ChangeProblemKind {
  // A mask no device can work with. The window leaves these to its address
  // test, which refuses /0 and /32 in its own words.
  NonContiguousMask,  // its ones are not a leading run
  ZeroMask,           // /0
  HostlessMask,       // /31 and /32
  // The dialogs' input checks.
  GatewayOutsideSubnet,  // IP_INPUT_BAD_NETWORK
  BadBasePort,           // IP_INPUT_BAD_BASE_PORT
  BadHttpPort,           // IP_INPUT_BAD_HTTP_PORT
  // The address test that follows them (IsValidAddressPair).
  ZeroAddress,
  NetworkAddress,  // the host part is all zeros: the "combination" outcome
  // Addresses a device is never moved to.
  BroadcastAddress,
  GatewayAddress,
  LocalAdapterAddress,
  ShownByDevice,
  PlannedTwice,
};

struct ChangeProblem {
  ChangeProblemKind kind;
  std::uint32_t address = 0;  // the proposed address
  // ShownByDevice, PlannedTwice: the other device.
  MacAddress other{};
  std::uint32_t mask = 0;  // the proposed mask
};

// The text for the user: the window's own for the dialogs' checks and the
// address test, one line naming the mask for the mask rules and the address
// for the rest.
std::wstring ChangeProblemMessage(const ChangeProblem& problem);

// The mask rules and the dialogs' input checks: the settings are wrong at
// any address. Every other problem depends on the address proposed.
bool IsInputProblem(ChangeProblemKind kind);

// Why no device can be given `mask` (address 0 in the problem), or nothing.
std::optional<ChangeProblem> MaskProblem(std::uint32_t mask);

// Who has an address, told apart from the device being changed by its MAC.
// The command line reads its own book of holders through this.
class AddressLookup {
 public:
  virtual ~AddressLookup() = default;
  // A device other than `self` that has `address`, or null.
  virtual const MacAddress* OtherThan(std::uint32_t address,
                                      const MacAddress& self) const = 0;
};

// Addresses with the devices that show or are given them.
class AddressBook : public AddressLookup {
 public:
  void Add(std::uint32_t address, const MacAddress& mac);
  const MacAddress* OtherThan(std::uint32_t address,
                              const MacAddress& self) const override;

 private:
  std::unordered_multimap<std::uint32_t, MacAddress> entries_;
};

// What a change is checked against besides the device itself. Null books
// are empty.
struct ChangeContext {
  // The addresses that the listed devices show.
  const AddressLookup* shown = nullptr;
  // The local adapters' own addresses.
  std::vector<std::uint32_t> localAddresses;
  // For a batch: the addresses planned for the rows.
  const AddressLookup* planned = nullptr;
};

// Every problem with moving the device `mac` from the settings it shows,
// `current`, to `proposed`, in the order of ChangeProblemKind. Only what
// changes is judged, so a setting the device already shows never stands in the
// way of changing another: a port's rule counts when that port changes; the
// mask, gateway and address rules when the address, mask or gateway changes;
// the addresses of other devices, of other rows and of this computer only when
// the address itself changes (a device that keeps its address may change
// its ports or mode even while another device shows the same address).
std::vector<ChangeProblem> CheckChange(const IpSettings& proposed,
                                       const IpSettings& current,
                                       const MacAddress& mac,
                                       const ChangeContext& context);

// The window's single change refuses only for the address test that follows
// its dialog (ZeroAddress, NetworkAddress): the dialog has made the input
// checks, the subnet's broadcast address is sent, and no other device is
// looked at. The dialog shows and sends every setting, so the test is made
// on all of them, changed or not. The problem it refuses for, if any.
std::optional<ChangeProblem> WindowSingleChangeRefusal(
    const IpSettings& proposed);
