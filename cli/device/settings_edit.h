// A change of a device's six network settings as the user asks for it (on
// the command line or in a plan file): what is not given keeps the device's
// value. The change checker (change_check.h) judges the result.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/format/fields.h"
#include "core/protocol/datagram.h"

namespace cli {

using Mac = MacAddress;

// What is not given keeps the device's value. Addresses in numeric form.
struct SettingsEdit {
  std::optional<std::uint32_t> ip;
  std::optional<std::uint32_t> mask;
  std::optional<std::uint32_t> gateway;
  std::optional<std::int32_t> mode;
  std::optional<std::int32_t> basePort;
  std::optional<std::int32_t> httpPort;
};

// One row per setting a change can edit, in the order of set's report: how
// the option and a plan's cell are read, and how the reports write it.
struct Setting {
  // The plan's column, and another name it may have there ("" for none).
  const char* column;
  const char* alias;
  const char* option;
  // The option's value into the edit; false when it is not one. `wants`
  // says what it takes.
  bool (*readOption)(const std::string& text, SettingsEdit* edit);
  const char* wants;
  // A plan's cell into the edit, a blank one leaving it unset; false with
  // `why`.
  bool (*readCell)(const std::string& cell, SettingsEdit* edit,
                   std::string* why);
  // The value as the reports write it, typed; its key is the setting's
  // name in the reports.
  Field<IpSettings> field;
  // The value as a table shows it, where that is not `field`'s text: a
  // mode by its name, as search's table shows it. Null for the others.
  std::string (*shown)(const IpSettings& settings);
  // Writes the edit's value, if given, into `settings`.
  void (*apply)(const SettingsEdit& edit, IpSettings* settings);
};

extern const Setting SETTINGS[6];

// The device's settings with the edit applied.
IpSettings ProposedSettings(const IpSettings& current,
                            const SettingsEdit& edit);

// The report's names (SETTINGS' field keys) of the settings that differ, in the
// table's order.
std::vector<std::string> ChangedSettings(const IpSettings& before,
                                         const IpSettings& after);

// The text forms a user types (MACs: ReadMacText, mac_text.h).
// "fixed", "dhcp" or "pppoe", either case.
bool ParseMode(const std::string& text, std::int32_t* mode);

}  // namespace cli
