#include "cli/device/dhcp_address.h"

namespace cli {

DhcpAddress JudgeDhcpAddress(const IpSettings& current,
                             const SettingsEdit& edit) {
  if (!edit.ip || *edit.ip == current.ipAddress) return DhcpAddress::Fine;
  if (edit.mode)
    return *edit.mode == IP_MODE_DHCP ? DhcpAddress::AsksDhcp
                                      : DhcpAddress::Fine;
  return current.ipMode == IP_MODE_DHCP ? DhcpAddress::KeepsDhcp
                                        : DhcpAddress::Fine;
}

std::string DhcpRefusalText(DhcpAddress judged, const std::string& mac) {
  switch (judged) {
    case DhcpAddress::Fine:
      break;
    case DhcpAddress::KeepsDhcp:
      return mac +
             " is in DHCP mode and takes its address from the DHCP server: "
             "it would ignore --ip. Add --mode fixed to give it this "
             "address.";
    case DhcpAddress::AsksDhcp:
      return "a device in DHCP mode takes its address from the DHCP server: "
             "--ip goes with --mode fixed, not dhcp.";
  }
  return std::string();
}

}  // namespace cli
