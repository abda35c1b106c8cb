#include "cli/device/settings_edit.h"

#include <cstddef>
#include <type_traits>

#include "cli/device/found_device.h"
#include "cli/device/plan_cells.h"
#include "cli/format/text_encoding.h"
#include "cli/format/text_formats.h"
#include "core/text/ascii_words.h"

namespace cli {

namespace {

// Addresses are the settings held unsigned.
template <auto Member>
FieldValue TextOf(const IpSettings& settings) {
  const auto value = settings.*Member;
  if constexpr (std::is_same_v<decltype(value), const std::uint32_t>) {
    return Utf8(AddressText(value));
  } else {
    return std::to_string(value);
  }
}

template <auto Edit, auto Member>
void Apply(const SettingsEdit& edit, IpSettings* settings) {
  if (edit.*Edit) settings->*Member = *(edit.*Edit);
}

template <auto Edit, auto Parse>
bool ReadOption(const std::string& text, SettingsEdit* edit) {
  typename std::remove_reference_t<decltype(edit->*Edit)>::value_type value{};
  if (!Parse(text, &value)) return false;
  edit->*Edit = value;
  return true;
}

template <auto Edit, auto Parse, const char* Name>
bool ReadCell(const std::string& cell, SettingsEdit* edit, std::string* why) {
  if (cell.empty() || ReadOption<Edit, Parse>(cell, edit)) return true;
  *why = std::string("bad ") + Name + " '" + Printable(cell) + "'";
  return false;
}

template <auto Edit, const char* Name>
bool ReadNumber(const std::string& cell, SettingsEdit* edit, std::string* why) {
  return ReadWholeNumberCell(cell, Name, &(edit->*Edit), why);
}

bool ReadMode(const std::string& cell, SettingsEdit* edit, std::string* why) {
  return ReadModeCell(cell, &edit->mode, why);
}

// A mode's name; its number when it has none, which a blank would hide.
std::string ModeWords(const IpSettings& settings) {
  const std::string name = ModeText(settings.ipMode);
  return name.empty() ? std::to_string(settings.ipMode) : name;
}

constexpr char IP[] = "ip";
constexpr char MASK[] = "mask";
constexpr char GATEWAY[] = "gateway";
constexpr char BASE_PORT[] = "base_port";
constexpr char HTTP_PORT[] = "http_port";

constexpr const char* ADDRESS = "an address a.b.c.d";
constexpr const char* NUMBER = "a whole number";

}  // namespace

const Setting SETTINGS[6] = {
    {IP,
     "",
     "--ip",
     ReadOption<&SettingsEdit::ip, ParseAddress>,
     ADDRESS,
     ReadCell<&SettingsEdit::ip, ParseAddress, IP>,
     {IP, "IP address", FieldKind::Address, TextOf<&IpSettings::ipAddress>},
     nullptr,
     Apply<&SettingsEdit::ip, &IpSettings::ipAddress>},
    {MASK,
     "subnet_mask",
     "--mask",
     ReadOption<&SettingsEdit::mask, ParseAddress>,
     ADDRESS,
     ReadCell<&SettingsEdit::mask, ParseAddress, MASK>,
     {MASK, "Mask", FieldKind::Address, TextOf<&IpSettings::subnetMask>},
     nullptr,
     Apply<&SettingsEdit::mask, &IpSettings::subnetMask>},
    {GATEWAY,
     "",
     "--gateway",
     ReadOption<&SettingsEdit::gateway, ParseAddress>,
     ADDRESS,
     ReadCell<&SettingsEdit::gateway, ParseAddress, GATEWAY>,
     {GATEWAY, "Gateway", FieldKind::Address, TextOf<&IpSettings::gateway>},
     nullptr,
     Apply<&SettingsEdit::gateway, &IpSettings::gateway>},
    {"mode",
     "",
     "--mode",
     ReadOption<&SettingsEdit::mode, ParseMode>,
     "fixed, dhcp or pppoe",
     ReadMode,
     {"ip_mode", "IP mode", FieldKind::Number, TextOf<&IpSettings::ipMode>},
     ModeWords,
     Apply<&SettingsEdit::mode, &IpSettings::ipMode>},
    {BASE_PORT,
     "",
     "--base-port",
     ReadOption<&SettingsEdit::basePort, ParseInt32>,
     NUMBER,
     ReadNumber<&SettingsEdit::basePort, BASE_PORT>,
     {BASE_PORT, "Base port", FieldKind::Number, TextOf<&IpSettings::basePort>},
     nullptr,
     Apply<&SettingsEdit::basePort, &IpSettings::basePort>},
    {HTTP_PORT,
     "",
     "--http-port",
     ReadOption<&SettingsEdit::httpPort, ParseInt32>,
     NUMBER,
     ReadNumber<&SettingsEdit::httpPort, HTTP_PORT>,
     {HTTP_PORT, "HTTP port", FieldKind::Number, TextOf<&IpSettings::httpPort>},
     nullptr,
     Apply<&SettingsEdit::httpPort, &IpSettings::httpPort>},
};

IpSettings ProposedSettings(const IpSettings& current,
                            const SettingsEdit& edit) {
  IpSettings settings = current;
  for (const Setting& setting : SETTINGS) setting.apply(edit, &settings);
  return settings;
}

std::vector<std::string> ChangedSettings(const IpSettings& before,
                                         const IpSettings& after) {
  std::vector<std::string> names;
  for (const Setting& setting : SETTINGS)
    if (setting.field.value(before) != setting.field.value(after))
      names.push_back(setting.field.key);
  return names;
}

bool ParseMode(const std::string& text, std::int32_t* mode) {
  static const NamedValue<std::int32_t> MODES[] = {{"fixed", IP_MODE_FIXED},
                                                   {"dhcp", IP_MODE_DHCP},
                                                   {"pppoe", IP_MODE_PPPOE}};
  return ParseNamed(text, MODES, mode);
}

}  // namespace cli
