#include "cli/settings_edit.h"

#include <cstddef>

#include "cli/text_encoding.h"

namespace cli {

IpSettings ProposedSettings(const DeviceInfo& current,
                            const SettingsEdit& edit) {
  IpSettings settings;
  settings.ipMode = edit.mode.value_or(current.ipMode);
  settings.ipAddress = edit.ip.value_or(current.ipAddress);
  settings.subnetMask = edit.mask.value_or(current.subnetMask);
  settings.gateway = edit.gateway.value_or(current.gateway);
  settings.basePort = edit.basePort.value_or(current.basePort);
  settings.httpPort = edit.httpPort.value_or(current.httpPort);
  return settings;
}

bool ShowsSettings(const DeviceInfo& device, const DeviceInfo& body) {
  return ChangedSettings(device, body).empty();
}

std::vector<std::string> ChangedSettings(const DeviceInfo& before,
                                         const DeviceInfo& after) {
  std::vector<std::string> names;
  if (before.ipAddress != after.ipAddress) names.push_back("ip");
  if (before.subnetMask != after.subnetMask) names.push_back("mask");
  if (before.gateway != after.gateway) names.push_back("gateway");
  if (before.ipMode != after.ipMode) names.push_back("ip_mode");
  if (before.basePort != after.basePort) names.push_back("base_port");
  if (before.httpPort != after.httpPort) names.push_back("http_port");
  return names;
}

bool ParseMode(const std::string& text, std::int32_t* mode) {
  const std::string name = AsciiLower(text);
  if (name == "fixed") {
    *mode = IP_MODE_FIXED;
  } else if (name == "dhcp") {
    *mode = IP_MODE_DHCP;
  } else if (name == "pppoe") {
    *mode = IP_MODE_PPPOE;
  } else {
    return false;
  }
  return true;
}

bool ParseInt32(const std::string& text, std::int32_t* value) {
  std::size_t i = text.empty() || (text[0] != '-' && text[0] != '+') ? 0 : 1;
  if (i == text.size()) return false;
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > 2147483648LL) return false;
  }
  const std::int64_t signedValue = text[0] == '-' ? -magnitude : magnitude;
  if (signedValue > 2147483647LL) return false;
  *value = static_cast<std::int32_t>(signedValue);
  return true;
}

}  // namespace cli
