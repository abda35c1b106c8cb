// A change of a device's six network settings as the user asks for it (on
// the command line or in a plan file), checked against the device's current
// settings with the window's own rules and messages.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/protocol/datagram.h"
#include "core/validation/address_pair.h"

namespace cli {

using Mac = std::array<std::uint8_t, 6>;

// What is not given keeps the device's value. Addresses in numeric form.
struct SettingsEdit {
  std::optional<std::uint32_t> ip;
  std::optional<std::uint32_t> mask;
  std::optional<std::uint32_t> gateway;
  std::optional<std::int32_t> mode;
  std::optional<std::int32_t> basePort;
  std::optional<std::int32_t> httpPort;
};

struct CheckedEdit {
  bool ok = false;
  // The settings as the dialog hands them on (addresses in network byte
  // order) and the change request body they make of the device's reply;
  // both whenever the dialog's own check passed.
  IpSettings settings;
  DeviceInfo body;
  // The outcome of the address and mask test that follows the dialog's.
  AddressPairOutcome pair = AddressPairOutcome::Valid;
  // Why the window would refuse the settings, on one line.
  std::string message;
};

// Validates the device's settings with the edit applied, as the IP change
// dialog and the change itself do, and builds the body the window would send.
CheckedEdit CheckEdit(const DeviceInfo& current, const SettingsEdit& edit);

// True when `device` shows the six settings of `body`.
bool ShowsSettings(const DeviceInfo& device, const DeviceInfo& body);
// The report's names of the settings that differ: "ip", "mask", "gateway",
// "ip_mode", "base_port", "http_port".
std::vector<std::string> ChangedSettings(const DeviceInfo& before,
                                         const DeviceInfo& after);

// The text forms a user types (MACs: ParseMac of the codec).
// "fixed", "dhcp" or "pppoe", either case.
bool ParseMode(const std::string& text, std::int32_t* mode);
// Optional sign and decimal digits, within 32 bits.
bool ParseInt32(const std::string& text, std::int32_t* value);

}  // namespace cli
