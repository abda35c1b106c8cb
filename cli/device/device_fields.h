// The fields of a device in one table (format/fields.h): its JSON object,
// its CSV and table rows, what the watch compares, and the names a plan's
// columns may have.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "cli/device/found_device.h"
#include "cli/format/fields.h"

namespace cli {

// Which fields the device forms write: those of our protocol, or those
// too that an ONVIF answer tells (a search that asked for ONVIF devices).
enum class DeviceColumns { Ours, WithOnvif };

// The device object of the JSON forms, on one line.
std::string DeviceJson(const FoundDevice& device, DeviceColumns columns);
// The same object with only the keys `keys` names, in its own order.
std::string DeviceJsonFields(const FoundDevice& device,
                             const std::vector<std::string>& keys);

// The keys of what differs between two sightings of a device: its settings
// first, in the order of set's report, then what else it reports.
std::vector<std::string> ChangedFields(const FoundDevice& before,
                                       const FoundDevice& after);
// The value of the device's field `key`.
FieldValue DeviceValue(const FoundDevice& device, const std::string& key);
// Every field's key with its table heading, the table's note among them.
std::vector<std::pair<std::string, std::string>> DeviceHeadings();

// The search report. The JSON and CSV forms come in pieces of some tens of
// kilobytes: the report of tens of thousands of devices never becomes one
// string of tens of megabytes, whose fresh pages cost more than its text.
// The table, which needs every row for its column widths, ends with the
// count.
void WriteDevices(const std::vector<FoundDevice>& devices,
                  DeviceColumns columns, Format format, const TextSink& write);

}  // namespace cli
