// A device in DHCP mode takes its address from the DHCP server and ignores
// an address it is given: the request is confirmed by nobody, or the device
// comes back on its lease after the next restart. A change that gives such
// a device an address says what it means for the mode.
#pragma once

#include <string>

#include "cli/device/settings_edit.h"

namespace cli {

enum class DhcpAddress {
  Fine,       // no new address, or a mode that keeps one
  KeepsDhcp,  // a new address, no mode given, and the device in DHCP mode
  AsksDhcp,   // a new address together with the mode DHCP
};

DhcpAddress JudgeDhcpAddress(const IpSettings& current,
                             const SettingsEdit& edit);

// set's refusal for KeepsDhcp and AsksDhcp; empty for Fine.
std::string DhcpRefusalText(DhcpAddress judged, const std::string& mac);
// A plan row's: KeepsDhcp is made fixed and says so; AsksDhcp is invalid.
constexpr const char* MADE_FIXED_TEXT =
    "ip_mode set to fixed: in DHCP mode the device would ignore the address";
constexpr const char* ASKS_DHCP_TEXT =
    "the row gives an address and the mode DHCP, but a device in DHCP mode "
    "takes its address from the DHCP server: write fixed in the ip_mode "
    "cell, or leave the ip cell blank";

}  // namespace cli
