// All the network work of the commands, behind one seam: a search, change
// requests, the searches that verify them, and whether anything on the link
// already answers for an address. The apply (apply_machine.h) drives only
// this seam, so that it runs the same against the discovery engine, against
// a site of fake devices in the tests, and as the dry run's forecast.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/device/found_device.h"
#include "cli/device/onvif_holders.h"

namespace cli {

// The most devices one search lists: every host of a /16.
constexpr std::size_t LISTED_DEVICES = 65536;

// Which discovery protocols a search asks in.
enum class Protocols { Quellan, Onvif, All };

// What a search says on standard error beside the devices it finds.
enum class Remarks {
  // How many devices answered beyond those listed, and, when none answered,
  // where the search looked and what may have stopped the answers.
  Say,
  // Nothing: the searches that wait for a changed device, or repeat.
  Quiet,
};

// What one search found: the devices, and the broadcast domains that their
// replies showed.
struct Findings {
  std::vector<FoundDevice> devices;
  BroadcastDomains domains;
};

// How a call on the link ended.
enum class LinkStatus {
  Done,
  // The engine could not start or failed (the port was taken between two
  // waves, an adapter went away); its own message has said why.
  Failed,
};

// One change: the device `mac` of `domain` asked for `settings`.
struct ChangeRequest {
  MacAddress mac{};
  IpSettings settings;
  std::uint32_t domain = 0;
};

// Told as each request has been sent: its index and how many adapters it
// left through (0: it never left); may be empty.
using SendWatch = std::function<void(std::size_t request, int adapters)>;

struct SendOutcome {
  LinkStatus status = LinkStatus::Done;
  // adapters[i]: how many adapters requests[i] left through; 0 when it never
  // left. Meaningful with Done; with Failed, the requests sent before the
  // failure have theirs and the rest 0.
  std::vector<int> adapters;
};

// How far the verify of sent requests has got, after each of its searches.
struct VerifyProgress {
  int wave = 0;              // the apply's wave; 0 from the link itself
  std::size_t answered = 0;  // expected devices that show their new settings
  std::size_t awaited = 0;   // expected devices in all
  // The first expected device that does not show them yet.
  std::optional<MacAddress> waitingFor;
  std::chrono::milliseconds left{0};  // until the verify gives up
};

// Told after each search of a verify; may be empty.
using VerifyWatch = std::function<void(const VerifyProgress&)>;

struct VerifyOutcome {
  LinkStatus status = LinkStatus::Done;
  // The last answer of every device heard by the searches, whether it was
  // expected or not.
  std::vector<FoundDevice> heard;
  // Where the last search heard ONVIF answers: none unless the verify
  // probes ONVIF too.
  std::vector<OnvifHolder> onvif;
};

// Whether something on the link answers for an address (ARP).
enum class Holding {
  Free,
  Held,
  // The check could not be made (a system call failed, or the address lies
  // outside the subnets of the domain's adapters); never taken as free.
  NotChecked,
};

struct ProbeOutcome {
  std::vector<Holding> holdings;  // holdings[i] for addresses[i]
  // holders[i] with Held: the MAC the neighbour table holds for it.
  std::vector<MacAddress> holders;
  // Why an address could not be checked, for the row's message.
  std::string why;
};

struct SearchOutcome {
  LinkStatus status = LinkStatus::Done;
  Findings found;
};

// The most addresses one probe checks: each costs one small datagram and
// the whole batch one wait for the answers. Far below the size at which the
// system's neighbour table starts to drop resolved entries (gc_thresh2, 512
// on Linux by default) before they are read, which would read as free.
constexpr std::size_t LINK_CHECK_BATCH = 64;

// What the apply of many changes needs of the network.
class ApplyLink {
 public:
  virtual ~ApplyLink() = default;
  // Sends each request once, through the adapters of its domain.
  // `watch` is told as each one leaves.
  virtual SendOutcome Send(const std::vector<ChangeRequest>& requests,
                           const SendWatch& watch) = 0;
  // Searches the domains until every expected device shows the settings it
  // was asked for, or `limit` has passed; at least one search is made.
  // `watch` is told how far it got after each search.
  virtual VerifyOutcome Verify(const std::vector<ChangeRequest>& expected,
                               const std::vector<std::uint32_t>& domains,
                               std::chrono::milliseconds limit,
                               const VerifyWatch& watch) = 0;
  // Checks the addresses together, through the adapters of `domain`.
  virtual ProbeOutcome Probe(const std::vector<std::uint32_t>& addresses,
                             std::uint32_t domain) = 0;
};

// The commands' whole use of the network.
class Discovery : public ApplyLink {
 public:
  // One search of `window`; the changes that follow go through the
  // broadcast domains it found.
  virtual SearchOutcome Search(std::chrono::milliseconds window,
                               Remarks remarks) = 0;
};

}  // namespace cli
