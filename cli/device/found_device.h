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

// Where a device's MAC came from.
enum class MacSource {
  Reply,  // our protocol's reply: every device of ours tells its own
  Scope,  // the MAC an ONVIF device states in its scopes
  // This computer's neighbour table, for the address an ONVIF answer came
  // from: a guess, since in an address conflict the entry may be another
  // device's. On a row heard by both protocols it says that the two
  // answers were joined on that guess alone.
  Neighbour,
};

// What a device's WS-Discovery answer told of it (ONVIF).
struct OnvifFacts {
  // Its stable identity across address changes, usually "urn:uuid:...".
  std::string endpoint;
  // From its scopes, percent-decoded.
  std::string name;
  std::string hardware;
  std::string location;
  std::vector<std::string> xaddrs;  // its service addresses, as listed
  // The address its answer lists it at; on a row heard by both protocols it
  // may differ from the one our reply shows, and it stays held all the same.
  std::uint32_t address = 0;
  // Where the answer came from: a device that names no endpoint is known by
  // them.
  std::uint32_t source = 0;
  std::uint32_t interfaceIndex = 0;
};

struct FoundDevice {
  // Every device of our protocol tells its MAC; an ONVIF device may not,
  // and is then known by its endpoint.
  std::optional<MacAddress> mac;
  MacSource macSource = MacSource::Reply;  // meaningful with a MAC
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
// Who the device is, stable while it answers as it does: its MAC when it
// tells one (our reply, or the ONVIF scope), else its ONVIF endpoint, else
// the address and interface its answer came from; never a neighbour
// table's MAC, which comes and goes as the entry ages.
std::string Identity(const FoundDevice& device);
// How messages name an ONVIF answer: its name, endpoint and address
// ("Stairwell (urn:uuid:..., 10.77.0.12)").
std::string OnvifLabel(const OnvifFacts& facts);
// How messages name the device: its MAC when it tells one, else as its
// ONVIF answer is named.
std::string DeviceLabel(const FoundDevice& device);
// "reply", "scope" or "neighbour"; none without a MAC.
std::optional<std::string> MacSourceWord(const FoundDevice& device);
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
