// A device as the command line reports it: the search row's record and
// texts, whether its address collides with another device's in its
// broadcast domain, and which local adapters reach it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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
// "https://10.77.0.5/" for HTTP port 443; none for a port of 0 or less,
// where no web page is served.
std::optional<std::string> PageUrl(const DeviceInfo& info);
std::string ModeText(std::int32_t mode);

// Why a device heard only on interfaces without an IPv4 address cannot be
// changed from here.
std::string UnreachableText(const FoundDevice& device);

}  // namespace cli
