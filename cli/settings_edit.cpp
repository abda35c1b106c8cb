#include "cli/settings_edit.h"

#include <cctype>
#include <cstddef>

#include "cli/text_formats.h"
#include "core/devices/multi_change.h"
#include "core/validation/ip_validation.h"

namespace cli {
namespace {

std::string Lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

CheckedEdit CheckEdit(const DeviceInfo& current, const SettingsEdit& edit) {
  CheckedEdit checked;
  IpInput input;
  // A device in a mode the list does not offer leaves the list empty, as in
  // the dialog: the device then keeps its own mode.
  const bool listed =
      current.ipMode >= IP_MODE_FIXED && current.ipMode <= IP_MODE_PPPOE;
  input.modeIndex = edit.mode.value_or(listed ? current.ipMode : -1);
  input.ipAddress = edit.ip.value_or(current.ipAddress);
  input.subnetMask = edit.mask.value_or(current.subnetMask);
  input.gateway = edit.gateway.value_or(current.gateway);
  input.basePortText =
      std::to_wstring(edit.basePort.value_or(current.basePort));
  input.httpPortText =
      std::to_wstring(edit.httpPort.value_or(current.httpPort));
  const IpValidation validation = ValidateIpSettings(input);
  if (validation.error != IP_INPUT_OK) {
    checked.message = OneLine(IpInputErrorMessage(validation.error));
    return checked;
  }
  checked.settings = validation.settings;
  checked.body = current;
  ApplyIpSettings(checked.body, SettingsForDevice(checked.settings, current));
  checked.pair = IsValidAddressPair(checked.settings.ipAddress,
                                    checked.settings.subnetMask);
  checked.message = OneLine(AddressPairMessage(checked.pair));
  checked.ok = checked.pair == AddressPairOutcome::Valid;
  return checked;
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
  const std::string name = Lower(text);
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
