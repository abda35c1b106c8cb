// A device as the command line reports it: the search row's record and
// texts, whether its address collides with another device's in its
// broadcast domain, and which local adapters reach it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "cli/fields.h"
#include "core/devices/broadcast_domains.h"
#include "core/devices/device_table.h"
#include "core/protocol/datagram.h"

namespace cli {

struct FoundDevice {
  DeviceInfo info;
  // As the window's list shows them: empty unless the body carries texts.
  std::string model;
  std::string firmware;
  bool conflict = false;
  // Its broadcast domain, the adapter that names it, and the adapter whose
  // subnet holds its address (BroadcastDomains::Place).
  Placement place;
};

// The rows of a search sorted by address numerically (by domain, then MAC,
// among equal addresses), every device that shares its address with another
// of its domain marked.
std::vector<FoundDevice> FoundDevices(const std::vector<DeviceRow>& rows,
                                      const BroadcastDomains& domains,
                                      const IngressRecord& heard);
// A search's devices placed again in `domains`, which hold the domains
// they were placed in (BroadcastDomains::Unite), then sorted and marked as
// FoundDevices does.
std::vector<FoundDevice> PlacedIn(std::vector<FoundDevice> devices,
                                  const BroadcastDomains& domains);

// The texts of the report: "00:1A:2B:00:01:03", "10.77.0.5",
// "http://10.77.0.5:80", "Fixed IP" and so on.
std::string MacString(const DeviceInfo& info);
std::string Dotted(std::uint32_t numeric);
std::string PageUrl(const DeviceInfo& info);
std::string ModeText(std::int32_t mode);

// Why a device heard only on interfaces without an IPv4 address cannot be
// changed from here.
std::string UnreachableText(const FoundDevice& device);

// The device object of the JSON forms, on one line.
std::string DeviceJson(const FoundDevice& device);
// The same object with only the keys `keys` names, in its own order.
std::string DeviceJsonFields(const FoundDevice& device,
                             const std::vector<std::string>& keys);

// The keys of the device object, in its order.
const std::vector<std::string>& DeviceKeys();
// The keys of what differs between two sightings of a device: its settings
// first, in the order of set's report, then what else it reports.
std::vector<std::string> ChangedFields(const FoundDevice& before,
                                       const FoundDevice& after);
// The value of the device's field `key`.
FieldValue DeviceValue(const FoundDevice& device, const std::string& key);
// Every field's key with its table heading, the table's note among them.
std::vector<std::pair<std::string, std::string>> DeviceHeadings();

// The search report in its JSON and CSV forms, in pieces of some tens of
// kilobytes: the report of tens of thousands of devices never becomes one
// string of tens of megabytes, whose fresh pages cost more than its text.
void WriteDevicesJson(const std::vector<FoundDevice>& devices,
                      const TextSink& write);
void WriteDevicesCsv(const std::vector<FoundDevice>& devices,
                     const TextSink& write);
// The table form, which needs every row for its column widths.
std::string DevicesTable(const std::vector<FoundDevice>& devices);

}  // namespace cli
