// A device as the command line reports it: the search row's record and
// texts, whether its address collides with another device's, and which local
// adapter can reach it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/devices/device_table.h"
#include "core/engine/local_adapters.h"
#include "core/protocol/datagram.h"

namespace cli {

struct FoundDevice {
  DeviceInfo info;
  // As the window's list shows them: empty unless the body carries texts.
  std::string model;
  std::string firmware;
  bool conflict = false;
  // The adapter whose subnet holds the device's address; 0 for none.
  std::uint32_t reachableFrom = 0;
};

// The rows of a search sorted by address numerically (by MAC among equal
// addresses), every device that shares its address with another marked.
std::vector<FoundDevice> FoundDevices(const std::vector<DeviceRow>& rows,
                                      const std::vector<LocalAdapter>& local);

// The first adapter whose subnet holds `address`; 0 for none.
std::uint32_t ReachableFrom(std::uint32_t address,
                            const std::vector<LocalAdapter>& local);

// The texts of the report: "00:1A:2B:00:01:03", "10.77.0.5",
// "http://10.77.0.5:80", "Fixed IP" and so on.
std::string MacString(const DeviceInfo& info);
std::string Dotted(std::uint32_t numeric);
std::string PageUrl(const DeviceInfo& info);
std::string ModeText(std::int32_t mode);

// The device object of the JSON forms, on one line.
std::string DeviceJson(const FoundDevice& device);

// Takes the text of a report a piece at a time.
using TextSink = std::function<void(const std::string& piece)>;
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
