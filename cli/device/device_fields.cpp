#include "cli/device/device_fields.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "cli/device/settings_edit.h"
#include "cli/format/text_formats.h"

namespace cli {
namespace {

constexpr const char* UNREACHABLE_NOTE =
    "not reachable from this computer: change its address first";

FieldValue AddressOrNone(std::uint32_t address) {
  return address ? FieldValue(Dotted(address)) : std::nullopt;
}

// A setting's field as a field of the device that shows it.
template <std::size_t I>
FieldValue SettingOf(const FoundDevice& device) {
  return SETTINGS[I].field.value(device.settings);
}

template <std::size_t... I>
std::vector<Field<FoundDevice>> SettingFields(std::index_sequence<I...>) {
  return {{SETTINGS[I].field.key, SETTINGS[I].field.heading,
           SETTINGS[I].field.kind, SettingOf<I>}...};
}

// The mode is written by number in the JSON and CSV forms, after the
// ports, with its name beside it; the table shows only the name.
constexpr char MODE[] = "ip_mode";

// Every field of a device, in the order of its JSON object; the table's
// note stands last.
std::vector<Field<FoundDevice>> MakeDeviceFields() {
  std::vector<Field<FoundDevice>> fields = {
      {"mac", "MAC address", FieldKind::Word,
       [](const FoundDevice& d) -> FieldValue { return MacString(d); },
       FieldUse::Derived}};
  const std::vector<Field<FoundDevice>> settings =
      SettingFields(std::make_index_sequence<std::size(SETTINGS)>());
  for (const Field<FoundDevice>& setting : settings)
    if (setting.key != std::string(MODE)) fields.push_back(setting);
  for (const Field<FoundDevice>& setting : settings)
    if (setting.key == std::string(MODE)) fields.push_back(setting);
  fields.insert(
      fields.end(),
      {{"ip_mode_text", "IP mode", FieldKind::Word,
        [](const FoundDevice& d) -> FieldValue {
          return ModeText(d.settings.ipMode);
        }},
       {"model", "Model", FieldKind::DeviceText,
        [](const FoundDevice& d) -> FieldValue { return d.model; }},
       {"firmware", "Firmware", FieldKind::DeviceText,
        [](const FoundDevice& d) -> FieldValue { return d.firmware; }},
       {"conflict", "Conflict", FieldKind::Flag,
        [](const FoundDevice& d) -> FieldValue {
          return d.conflict ? "true" : "false";
        }},
       {"reachable_from", "Reachable from", FieldKind::Address,
        [](const FoundDevice& d) {
          return AddressOrNone(d.place.reachableFrom);
        }},
       {"url", "URL", FieldKind::Word,
        [](const FoundDevice& d) -> FieldValue { return PageUrl(d.settings); },
        FieldUse::Derived},
       {"adapter", "Adapter", FieldKind::Address,
        [](const FoundDevice& d) { return AddressOrNone(d.place.adapter); }},
       {"note", "Note", FieldKind::Text,
        [](const FoundDevice& d) -> FieldValue {
          std::vector<std::string> notes;
          if (d.conflict) notes.push_back("address conflict");
          if (!d.place.reachableFrom) notes.push_back(UNREACHABLE_NOTE);
          std::string note;
          for (const std::string& one : notes)
            note += (note.empty() ? "" : "; ") + one;
          return note;
        },
        FieldUse::Derived}});
  return fields;
}

const std::vector<Field<FoundDevice>>& DeviceFields() {
  static const std::vector<Field<FoundDevice>> fields = MakeDeviceFields();
  return fields;
}

// The JSON object and the CSV row: every field but the note.
const Fields<FoundDevice>& ObjectFields() {
  static const Fields<FoundDevice> fields = [] {
    Fields<FoundDevice> picked;
    for (const Field<FoundDevice>& field : DeviceFields())
      if (field.key != std::string("note")) picked.push_back(&field);
    return picked;
  }();
  return fields;
}

// The table leads with the address and leaves out what only scripts need.
const Fields<FoundDevice>& TableFields() {
  static const Fields<FoundDevice> fields = [] {
    const std::vector<std::string> left = {"ip", MODE, "conflict",
                                           "reachable_from", "url"};
    Fields<FoundDevice> picked = Pick(DeviceFields(), {"ip"});
    for (const Field<FoundDevice>& field : DeviceFields())
      if (std::find(left.begin(), left.end(), field.key) == left.end())
        picked.push_back(&field);
    return picked;
  }();
  return fields;
}

}  // namespace

std::string DeviceJson(const FoundDevice& device) {
  return JsonObject(ObjectFields(), device);
}

std::string DeviceJsonFields(const FoundDevice& device,
                             const std::vector<std::string>& keys) {
  return JsonObject(Pick(DeviceFields(), keys), device);
}

std::vector<std::string> ChangedFields(const FoundDevice& before,
                                       const FoundDevice& after) {
  std::vector<std::string> keys =
      ChangedSettings(before.settings, after.settings);
  for (const Field<FoundDevice>& field : DeviceFields()) {
    const bool setting = std::any_of(
        std::begin(SETTINGS), std::end(SETTINGS),
        [&field](const Setting& s) { return field.key == std::string(s.key); });
    if (field.use == FieldUse::Reported && !setting &&
        field.value(before) != field.value(after))
      keys.push_back(field.key);
  }
  return keys;
}

FieldValue DeviceValue(const FoundDevice& device, const std::string& key) {
  for (const Field<FoundDevice>& field : DeviceFields())
    if (key == field.key) return field.value(device);
  return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> DeviceHeadings() {
  std::vector<std::pair<std::string, std::string>> headings;
  for (const Field<FoundDevice>& field : DeviceFields())
    headings.emplace_back(field.key, field.heading);
  return headings;
}

void WriteDevicesJson(const std::vector<FoundDevice>& devices,
                      const TextSink& write) {
  WriteJsonArray(ObjectFields(), devices, write);
}

void WriteDevicesCsv(const std::vector<FoundDevice>& devices,
                     const TextSink& write) {
  WriteCsv(ObjectFields(), devices, write);
}

std::string DevicesTable(const std::vector<FoundDevice>& devices) {
  return Table(TableFields(), devices) + Utf8(FoundCountText(devices.size())) +
         "\n";
}

}  // namespace cli
