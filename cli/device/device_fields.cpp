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
// Quellan cannot change an ONVIF-only device: its own tools can.
constexpr const char* ONVIF_UNREACHABLE_NOTE =
    "not reachable from this computer: change it from its own web page or "
    "ONVIF tool";
// What a MAC from the neighbour table may hide (MacSource::Neighbour).
constexpr const char* NEIGHBOUR_MAC_NOTE =
    "MAC from the neighbour table, a guess";
constexpr const char* NEIGHBOUR_MERGE_NOTE =
    "one device presumed: the ONVIF answer joined on the neighbour table's "
    "MAC";

FieldValue AddressOrNone(std::uint32_t address) {
  return address ? FieldValue(Dotted(address)) : std::nullopt;
}

// A setting's field as a field of the device that shows it. An ONVIF
// answer tells the address alone.
template <std::size_t I>
FieldValue SettingOf(const FoundDevice& device) {
  if (!Changeable(device) && SETTINGS[I].field.key != std::string("ip"))
    return std::nullopt;
  return SETTINGS[I].field.value(device.settings);
}

// A field of the device's ONVIF answer; none for a device without one, or
// whose answer did not tell it.
template <std::string OnvifFacts::*Member>
FieldValue OnvifText(const FoundDevice& device) {
  if (!device.onvif || ((*device.onvif).*Member).empty()) return std::nullopt;
  return (*device.onvif).*Member;
}

// The fields an ONVIF answer adds, written only when the search asked for
// ONVIF devices.
const std::vector<std::string> ONVIF_KEYS = {
    "protocol", "mac_source", "name",  "hardware",
    "location", "endpoint",   "xaddrs"};

bool IsOnvifKey(const char* key) {
  return std::find(ONVIF_KEYS.begin(), ONVIF_KEYS.end(), key) !=
         ONVIF_KEYS.end();
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
       [](const FoundDevice& d) -> FieldValue {
         if (!d.mac) return std::nullopt;
         return MacString(*d.mac);
       },
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
          if (!Changeable(d)) return std::nullopt;
          return ModeText(d.settings.ipMode);
        }},
       {"model", "Model", FieldKind::DeviceText,
        [](const FoundDevice& d) -> FieldValue { return d.model; }},
       {"firmware", "Firmware", FieldKind::DeviceText,
        [](const FoundDevice& d) -> FieldValue {
          if (!Changeable(d)) return std::nullopt;
          return d.firmware;
        }},
       {"conflict", "Conflict", FieldKind::Flag,
        [](const FoundDevice& d) -> FieldValue {
          return d.conflict ? "true" : "false";
        }},
       {"reachable_from", "Reachable from", FieldKind::Address,
        [](const FoundDevice& d) {
          return AddressOrNone(d.place.reachableFrom);
        }},
       {"url", "URL", FieldKind::Word,
        [](const FoundDevice& d) -> FieldValue {
          // An ONVIF device's page is on the standard port of its address.
          if (!Changeable(d))
            return "http://" + Dotted(d.settings.ipAddress) + "/";
          return PageUrl(d.settings);
        },
        FieldUse::Derived},
       {"adapter", "Adapter", FieldKind::Address,
        [](const FoundDevice& d) { return AddressOrNone(d.place.adapter); }},
       {"protocol", "Protocol", FieldKind::Word,
        [](const FoundDevice& d) -> FieldValue {
          return ProtocolWord(d.heardBy);
        }},
       {"mac_source", "MAC source", FieldKind::Word, MacSourceWord,
        FieldUse::Derived},
       {"name", "Name", FieldKind::DeviceText, OnvifText<&OnvifFacts::name>},
       {"hardware", "Hardware", FieldKind::DeviceText,
        OnvifText<&OnvifFacts::hardware>},
       {"location", "Location", FieldKind::DeviceText,
        OnvifText<&OnvifFacts::location>},
       {"endpoint", "Endpoint", FieldKind::DeviceText,
        OnvifText<&OnvifFacts::endpoint>},
       {"xaddrs", "XAddrs", FieldKind::DeviceList,
        [](const FoundDevice& d) -> FieldValue {
          if (!d.onvif) return std::nullopt;
          return Joined(d.onvif->xaddrs, " ");
        }},
       {"note", "Note", FieldKind::Text,
        [](const FoundDevice& d) -> FieldValue {
          std::vector<std::string> notes;
          if (d.conflict) notes.push_back("address conflict");
          if (d.mac && d.macSource == MacSource::Neighbour)
            notes.push_back(d.heardBy == HeardBy::Both ? NEIGHBOUR_MERGE_NOTE
                                                       : NEIGHBOUR_MAC_NOTE);
          if (!d.place.reachableFrom)
            notes.push_back(Changeable(d) ? UNREACHABLE_NOTE
                                          : ONVIF_UNREACHABLE_NOTE);
          return Joined(notes, "; ");
        },
        FieldUse::Derived}});
  return fields;
}

const std::vector<Field<FoundDevice>>& DeviceFields() {
  static const std::vector<Field<FoundDevice>> fields = MakeDeviceFields();
  return fields;
}

// The JSON object and the CSV row: every field but the note.
Fields<FoundDevice> MakeObjectFields(DeviceColumns columns) {
  Fields<FoundDevice> picked;
  for (const Field<FoundDevice>& field : DeviceFields())
    if (field.key != std::string("note") &&
        (columns == DeviceColumns::WithOnvif || !IsOnvifKey(field.key)))
      picked.push_back(&field);
  return picked;
}

// The fields `Make` picks, made once for each choice of columns.
template <Fields<FoundDevice> (*Make)(DeviceColumns)>
const Fields<FoundDevice>& Made(DeviceColumns columns) {
  static const Fields<FoundDevice> ours = Make(DeviceColumns::Ours);
  static const Fields<FoundDevice> all = Make(DeviceColumns::WithOnvif);
  return columns == DeviceColumns::Ours ? ours : all;
}

// The table leads with the address and leaves out what only scripts need.
Fields<FoundDevice> MakeTableFields(DeviceColumns columns) {
  std::vector<std::string> left = {
      "ip",       MODE,       "conflict", "reachable_from", "url",
      "hardware", "location", "endpoint", "mac_source"};
  if (columns == DeviceColumns::Ours)
    left.insert(left.end(), ONVIF_KEYS.begin(), ONVIF_KEYS.end());
  Fields<FoundDevice> picked = Pick(DeviceFields(), {"ip"});
  for (const Field<FoundDevice>& field : DeviceFields())
    if (std::find(left.begin(), left.end(), field.key) == left.end())
      picked.push_back(&field);
  return picked;
}

}  // namespace

std::string DeviceJson(const FoundDevice& device, DeviceColumns columns) {
  return JsonObject(Made<MakeObjectFields>(columns), device);
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
        std::begin(SETTINGS), std::end(SETTINGS), [&field](const Setting& s) {
          return field.key == std::string(s.field.key);
        });
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

void WriteDevices(const std::vector<FoundDevice>& devices,
                  DeviceColumns columns, Format format, const TextSink& write) {
  WriteReport(format, Made<MakeObjectFields>(columns),
              Made<MakeTableFields>(columns), devices, write);
  if (format == Format::Table)
    write(Utf8(FoundCountText(devices.size())) + "\n");
}

}  // namespace cli
