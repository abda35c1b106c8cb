#include "cli/device/found_device.h"

#include <algorithm>
#include <cstddef>
#include <tuple>

#include "cli/format/text_formats.h"
#include "core/devices/web_page.h"

namespace cli {
namespace {

// Sorts by address numerically (by domain, then MAC, among equal
// addresses) and marks every device that shares its address with another
// of its domain.
void SortAndMarkConflicts(std::vector<FoundDevice>* devices) {
  auto key = [](const FoundDevice& device) {
    return std::tie(device.info.ipAddress, device.place.domain,
                    device.info.macAddress);
  };
  std::sort(devices->begin(), devices->end(),
            [&key](const FoundDevice& a, const FoundDevice& b) {
              return key(a) < key(b);
            });
  // Sorted, the devices that share an address in one domain stand together.
  std::vector<FoundDevice>& sorted = *devices;
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    if (sorted[i].info.ipAddress != sorted[i - 1].info.ipAddress ||
        sorted[i].place.domain != sorted[i - 1].place.domain)
      continue;
    sorted[i].conflict = true;
    sorted[i - 1].conflict = true;
  }
}

}  // namespace

std::vector<FoundDevice> FoundDevices(const std::vector<DeviceRow>& rows,
                                      const BroadcastDomains& domains,
                                      const IngressRecord& heard) {
  std::vector<FoundDevice> devices;
  devices.reserve(rows.size());
  for (const DeviceRow& row : rows) {
    FoundDevice device;
    device.info = row.record;
    device.model = Utf8(row.texts[COLUMN_MODEL]);
    device.firmware = Utf8(row.texts[COLUMN_FIRMWARE]);
    device.place = domains.Place(row.record, heard.Of(row.record.macAddress));
    devices.push_back(std::move(device));
  }
  SortAndMarkConflicts(&devices);
  return devices;
}

std::vector<FoundDevice> PlacedIn(std::vector<FoundDevice> devices,
                                  const BroadcastDomains& domains) {
  for (FoundDevice& device : devices) {
    // The domain is named by one of its interfaces, which heard the device.
    const std::uint32_t heardOn = device.place.domain;
    device.place = domains.Place(device.info, {heardOn});
    device.conflict = false;
  }
  SortAndMarkConflicts(&devices);
  return devices;
}

std::string MacString(const DeviceInfo& info) {
  return Utf8(MacText(info.macAddress));
}

std::string Dotted(std::uint32_t numeric) { return Utf8(AddressText(numeric)); }

std::optional<std::string> PageUrl(const DeviceInfo& info) {
  // The window opens what its texts make; a script wants a link that works.
  constexpr std::int32_t HTTPS_PORT = 443;
  if (info.httpPort <= 0) return std::nullopt;
  if (info.httpPort == HTTPS_PORT)
    return "https://" + Dotted(info.ipAddress) + "/";
  return Utf8(
      WebPageAddress(AddressText(info.ipAddress), PortText(info.httpPort)));
}

std::string ModeText(std::int32_t mode) { return Utf8(IpModeText(mode)); }

std::string UnreachableText(const FoundDevice& device) {
  return MacString(device.info) +
         " was heard only on an interface without an IPv4 address: no change "
         "request can reach it from this computer";
}

}  // namespace cli
