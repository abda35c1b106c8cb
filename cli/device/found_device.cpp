#include "cli/device/found_device.h"

#include <algorithm>
#include <cstddef>
#include <tuple>

#include "cli/format/text_formats.h"
#include "core/devices/web_page.h"
#include "core/text/ascii_words.h"

namespace cli {

std::string BodyText(const DeviceText& area, std::int32_t bodyLength) {
  return Utf8(DeviceTextOf(area, bodyLength));
}

std::vector<FoundDevice> FoundDevices(const std::vector<DeviceRow>& rows,
                                      const BroadcastDomains& domains,
                                      const IngressRecord& heard) {
  std::vector<FoundDevice> devices;
  devices.reserve(rows.size());
  for (const DeviceRow& row : rows) {
    FoundDevice device;
    device.mac = row.record.macAddress;
    device.settings = SettingsFromDeviceInfo(row.record);
    device.model = BodyText(row.record.modelName, row.bodyLength);
    device.firmware = BodyText(row.record.firmware, row.bodyLength);
    device.place =
        domains.Place(row.record.ipAddress, heard.Of(row.record.macAddress));
    devices.push_back(std::move(device));
  }
  SortAndMarkConflicts(&devices);
  return devices;
}

void SortAndMarkConflicts(std::vector<FoundDevice>* devices) {
  auto key = [](const FoundDevice& device) {
    return std::tie(device.settings.ipAddress, device.place.domain, device.mac);
  };
  std::sort(devices->begin(), devices->end(),
            [&key](const FoundDevice& a, const FoundDevice& b) {
              return key(a) < key(b);
            });
  // Sorted, the devices that share an address in one domain stand together.
  std::vector<FoundDevice>& sorted = *devices;
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    if (sorted[i].settings.ipAddress != sorted[i - 1].settings.ipAddress ||
        sorted[i].place.domain != sorted[i - 1].place.domain)
      continue;
    sorted[i].conflict = true;
    sorted[i - 1].conflict = true;
  }
}

std::vector<FoundDevice> PlacedIn(std::vector<FoundDevice> devices,
                                  const BroadcastDomains& domains) {
  for (FoundDevice& device : devices) {
    // The domain is named by one of its interfaces, which heard the device.
    const std::uint32_t heardOn = device.place.domain;
    device.place = domains.Place(device.settings.ipAddress, {heardOn});
    device.conflict = false;
  }
  SortAndMarkConflicts(&devices);
  return devices;
}

std::string MacString(const MacAddress& mac) { return Utf8(MacText(mac)); }

std::string MacString(const FoundDevice& device) {
  return device.mac ? MacString(*device.mac) : std::string();
}

std::string Dotted(std::uint32_t numeric) { return Utf8(AddressText(numeric)); }

std::optional<std::string> PageUrl(const IpSettings& settings) {
  // The window opens what its texts make; a script wants a link that works.
  constexpr std::int32_t HTTPS_PORT = 443;
  if (settings.httpPort <= 0) return std::nullopt;
  if (settings.httpPort == HTTPS_PORT)
    return "https://" + Dotted(settings.ipAddress) + "/";
  return Utf8(WebPageAddress(AddressText(settings.ipAddress),
                             PortText(settings.httpPort)));
}

std::string ModeText(std::int32_t mode) { return Utf8(IpModeText(mode)); }

bool Changeable(const FoundDevice& device) {
  return device.heardBy != HeardBy::Onvif;
}

std::string ProtocolWord(HeardBy heardBy) {
  static const NamedValue<HeardBy> WORDS[] = {{"quellan", HeardBy::Quellan},
                                              {"onvif", HeardBy::Onvif},
                                              {"quellan+onvif", HeardBy::Both}};
  return NameOf(WORDS, heardBy);
}

namespace {

// Whether the device's MAC is its own word: our reply, or its ONVIF scope.
// A neighbour table's MAC on an ONVIF-only row is a guess.
bool StatesMac(const FoundDevice& device) {
  return device.mac && !(device.heardBy == HeardBy::Onvif &&
                         device.macSource == MacSource::Neighbour);
}

}  // namespace

std::string Identity(const FoundDevice& device) {
  if (StatesMac(device)) return MacString(*device.mac);
  if (!device.onvif) return std::string();
  if (!device.onvif->endpoint.empty()) return device.onvif->endpoint;
  return "from " + Dotted(device.onvif->source) + " on interface " +
         std::to_string(device.onvif->interfaceIndex);
}

std::string OnvifLabel(const OnvifFacts& facts) {
  std::vector<std::string> about;
  if (!facts.endpoint.empty()) about.push_back(facts.endpoint);
  about.push_back(Dotted(facts.address));
  const std::string name =
      facts.name.empty() ? std::string("the ONVIF device") : facts.name;
  return name + " (" + Joined(about, ", ") + ")";
}

std::string DeviceLabel(const FoundDevice& device) {
  if (StatesMac(device) || !device.onvif) return MacString(device);
  return OnvifLabel(*device.onvif);
}

std::optional<std::string> MacSourceWord(const FoundDevice& device) {
  static const NamedValue<MacSource> WORDS[] = {
      {"reply", MacSource::Reply},
      {"scope", MacSource::Scope},
      {"neighbour", MacSource::Neighbour}};
  if (!device.mac) return std::nullopt;
  return NameOf(WORDS, device.macSource);
}

std::string UnreachableText(const FoundDevice& device) {
  return DeviceLabel(device) +
         " was heard only on an interface without an IPv4 address: no change "
         "request can reach it from this computer";
}

}  // namespace cli
