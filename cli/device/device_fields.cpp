#include "cli/device/device_fields.h"

#include <algorithm>
#include <iterator>

#include "cli/device/settings_edit.h"
#include "cli/format/text_formats.h"

namespace cli {
namespace {

constexpr const char* UNREACHABLE_NOTE =
    "not reachable from this computer: change its address first";

FieldValue AddressOrNone(std::uint32_t address) {
  return address ? FieldValue(Dotted(address)) : std::nullopt;
}

// Every field of a device, in the order of its JSON object; the table's
// note stands last.
const Field<FoundDevice> DEVICE_FIELDS[] = {
    {"mac", "MAC address", FieldKind::Word,
     [](const FoundDevice& d) -> FieldValue { return MacString(d.info); },
     FieldUse::Derived},
    {"ip", "IP address", FieldKind::Address,
     [](const FoundDevice& d) -> FieldValue {
       return Dotted(d.info.ipAddress);
     }},
    {"mask", "Mask", FieldKind::Address,
     [](const FoundDevice& d) -> FieldValue {
       return Dotted(d.info.subnetMask);
     }},
    {"gateway", "Gateway", FieldKind::Address,
     [](const FoundDevice& d) -> FieldValue { return Dotted(d.info.gateway); }},
    {"base_port", "Base port", FieldKind::Number,
     [](const FoundDevice& d) -> FieldValue {
       return std::to_string(d.info.basePort);
     }},
    {"http_port", "HTTP port", FieldKind::Number,
     [](const FoundDevice& d) -> FieldValue {
       return std::to_string(d.info.httpPort);
     }},
    {"ip_mode", "IP mode", FieldKind::Number,
     [](const FoundDevice& d) -> FieldValue {
       return std::to_string(d.info.ipMode);
     }},
    {"ip_mode_text", "IP mode", FieldKind::Word,
     [](const FoundDevice& d) -> FieldValue {
       return ModeText(d.info.ipMode);
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
     [](const FoundDevice& d) { return AddressOrNone(d.place.reachableFrom); }},
    {"url", "URL", FieldKind::Word,
     [](const FoundDevice& d) { return PageUrl(d.info); }, FieldUse::Derived},
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
     FieldUse::Derived},
};

const std::vector<std::string> OBJECT_KEYS = {
    "mac",       "ip",        "mask",     "gateway",
    "base_port", "http_port", "ip_mode",  "ip_mode_text",
    "model",     "firmware",  "conflict", "reachable_from",
    "url",       "adapter"};
const std::vector<std::string> TABLE_KEYS = {
    "ip",           "mac",   "mask",     "gateway", "base_port", "http_port",
    "ip_mode_text", "model", "firmware", "adapter", "note"};

const Fields<FoundDevice>& ObjectFields() {
  static const Fields<FoundDevice> fields = Pick(DEVICE_FIELDS, OBJECT_KEYS);
  return fields;
}

}  // namespace

std::string DeviceJson(const FoundDevice& device) {
  return JsonObject(ObjectFields(), device);
}

std::string DeviceJsonFields(const FoundDevice& device,
                             const std::vector<std::string>& keys) {
  return JsonObject(Pick(DEVICE_FIELDS, keys), device);
}

std::vector<std::string> ChangedFields(const FoundDevice& before,
                                       const FoundDevice& after) {
  std::vector<std::string> keys = ChangedSettings(before.info, after.info);
  for (const Field<FoundDevice>& field : DEVICE_FIELDS) {
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
  for (const Field<FoundDevice>& field : DEVICE_FIELDS)
    if (key == field.key) return field.value(device);
  return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> DeviceHeadings() {
  std::vector<std::pair<std::string, std::string>> headings;
  for (const Field<FoundDevice>& field : DEVICE_FIELDS)
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
  return Table(Pick(DEVICE_FIELDS, TABLE_KEYS), devices) +
         Utf8(FoundCountText(devices.size())) + "\n";
}

}  // namespace cli
