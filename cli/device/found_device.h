// A device as the command line reports it, whatever protocol it answered:
// who it is, the settings it shows, its own texts, where it sits seen from
// this computer and whether its address collides with another device's in
// its broadcast domain.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/devices/broadcast_domains.h"
#include "core/devices/device_table.h"
#include "core/protocol/datagram.h"

namespace cli {

// The discovery protocols a device answered.
enum class HeardBy { Quellan };

struct FoundDevice {
  // Its identity. Every device of our protocol tells its MAC.
  std::optional<MacAddress> mac;
  IpSettings settings;
  // Its own texts, UTF-8: empty unless the reply carries them.
  std::string model;
  std::string firmware;
  HeardBy heardBy = HeardBy::Quellan;
  bool conflict = false;
  // Its broadcast domain, the adapter that names it, and the adapter whose
  // subnet holds its address (BroadcastDomains::Place).
  Placement place;
};

// A device's text field (model, firmware) as UTF-8: each byte one Latin-1
// character, up to the first zero byte; empty when the stated body length
// is too short to carry texts.
std::string BodyText(const DeviceText& area, std::int32_t bodyLength);

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
std::string MacString(const MacAddress& mac);
// The device's MAC, or "" when it is not known.
std::string MacString(const FoundDevice& device);
std::string Dotted(std::uint32_t numeric);
std::string PageUrl(const IpSettings& settings);
std::string ModeText(std::int32_t mode);

// Why a device heard only on interfaces without an IPv4 address cannot be
// changed from here.
std::string UnreachableText(const FoundDevice& device);

}  // namespace cli
