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
enum class HeardBy { Quellan, Onvif, Both };

// What a device's WS-Discovery answer told of it (ONVIF).
struct OnvifFacts {
  // Its stable identity across address changes, usually "urn:uuid:...".
  std::string endpoint;
  // From its scopes, percent-decoded.
  std::string name;
  std::string hardware;
  std::string location;
  std::vector<std::string> xaddrs;  // its service addresses, as listed
};

struct FoundDevice {
  // Every device of our protocol tells its MAC; an ONVIF device may not,
  // and is then known by its endpoint.
  std::optional<MacAddress> mac;
  // An ONVIF-only device tells its address alone; the other settings are
  // not known.
  IpSettings settings;
  // Its own texts, UTF-8: empty unless the reply carries them.
  std::string model;
  std::string firmware;
  HeardBy heardBy = HeardBy::Quellan;
  std::optional<OnvifFacts> onvif;
  bool conflict = false;
  // Its broadcast domain, the adapter that names it, and the adapter whose
  // subnet holds its address (BroadcastDomains::Place).
  Placement place;
};

// A device's text field (model, firmware) as UTF-8: each byte one Latin-1
// character, up to the first zero byte; empty when the stated body length
// is too short to carry texts.
std::string BodyText(const DeviceText& area, std::int32_t bodyLength);

// The rows of a search sorted and marked as SortAndMarkConflicts does.
std::vector<FoundDevice> FoundDevices(const std::vector<DeviceRow>& rows,
                                      const BroadcastDomains& domains,
                                      const IngressRecord& heard);
// Sorts by address numerically (by domain, then MAC, among equal
// addresses) and marks every device that shares its address with another
// of its domain, whichever protocol each answered.
void SortAndMarkConflicts(std::vector<FoundDevice>* devices);
// Whether the device answered our protocol, so that it can be changed.
bool Changeable(const FoundDevice& device);
// Why a device that answered only ONVIF is not changed.
constexpr const char* ONVIF_ONLY_TEXT =
    "Quellan cannot change this ONVIF device: it does not answer Quellan's "
    "own protocol";
// "quellan", "onvif" or "quellan+onvif".
std::string ProtocolWord(HeardBy heardBy);
// Who the device is: its MAC, else its endpoint.
std::string Identity(const FoundDevice& device);
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
// The device's web page: "https://10.77.0.5/" for port 443, none for a
// port of 0 or less, where no page is served.
std::optional<std::string> PageUrl(const IpSettings& settings);
std::string ModeText(std::int32_t mode);

// Why a device heard only on interfaces without an IPv4 address cannot be
// changed from here.
std::string UnreachableText(const FoundDevice& device);

}  // namespace cli
