// The JSON lines the simulator prints, one function per event, so that their
// exact form (which tests and scripts parse) is fixed in one place and can be
// checked without a socket.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/text/json_line.h"
#include "tools/devsim/device_set.h"
#include "tools/devsim/options.h"
#include "tools/devsim/search_plan.h"

namespace devsim {

struct Sender {
  std::uint32_t address = 0;
  std::uint16_t port = 0;
};

struct RunCounters {
  std::int64_t searches = 0;
  std::int64_t changes = 0;
  std::int64_t repliesSent = 0;
  std::int64_t noiseSent = 0;
  std::int64_t sendFailures = 0;
  std::int64_t received = 0;
  std::int64_t echoes = 0;
  std::int64_t pending = 0;
  // Counted, and shown in the exit line, only where devices answer ONVIF.
  enum class Onvif { Off, Served } onvif = Onvif::Off;
  std::int64_t probes = 0;
  std::int64_t probeMatchesSent = 0;
};

// "search", "change", "reply" or "other", from the magic and command.
const char* DatagramKind(const std::uint8_t* data, std::size_t size);

// `onvifDevices` (those that answer WS-Discovery probes on its port) is
// shown only when there are some.
JsonLine ReadyEvent(const Options& options, std::uint64_t randomStart,
                    std::size_t devices, std::size_t onvifDevices);
JsonLine DatagramEvent(const Sender& from, const std::uint8_t* data,
                       std::size_t size);
JsonLine SearchEvent(const Sender& from, const PlannedSearch& plan,
                     std::size_t pending);
JsonLine SearchDroppedEvent(const Sender& from, std::size_t pending);
// `body` is the 72 bytes of the change request as received.
JsonLine ChangeEvent(const Sender& from, const AppliedChange& change,
                     const std::uint8_t* body);
// A request for no known MAC, or for one whose device keeps its settings.
enum class ChangeNotTaken { Unknown, Ignored };
JsonLine ChangeNotTakenEvent(ChangeNotTaken why, const Sender& from,
                             const std::uint8_t* body);
// A device that kept its settings: another device shows the new address.
JsonLine ChangeAddressInUseEvent(const Sender& from,
                                 const AppliedChange& change,
                                 const std::uint8_t* body);
JsonLine ChangeShortEvent(const Sender& from, std::size_t size);
// A probe read on the WS-Discovery port: its MessageID and how many devices
// will answer it.
JsonLine ProbeEvent(const Sender& from, const std::string& messageId,
                    std::size_t matches, std::size_t pending);
// A probe left unanswered: too many sends wait already.
JsonLine ProbeDroppedEvent(const Sender& from, std::size_t pending);
// Anything else there: another message, or bytes we cannot read as XML.
JsonLine ProbeUnreadEvent(const Sender& from, std::size_t size);
JsonLine SendFailedEvent(std::size_t size,
                         const Sender& to = Sender{BROADCAST_ADDRESS,
                                                   DISCOVERY_PORT});
JsonLine ExitEvent(const char* reason, const RunCounters& counters);

}  // namespace devsim
