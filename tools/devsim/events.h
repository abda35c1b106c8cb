// The JSON lines the simulator prints, one function per event, so that their
// exact form (which tests and scripts parse) is fixed in one place and can be
// checked without a socket.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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
};

// "search", "change", "reply" or "other", from the magic and command.
const char* DatagramKind(const std::uint8_t* data, std::size_t size);

std::string ReadyEvent(const Options& options, std::uint64_t randomStart,
                       std::size_t devices);
std::string DatagramEvent(const Sender& from, const std::uint8_t* data,
                          std::size_t size);
std::string SearchEvent(const Sender& from, const PlannedSearch& plan,
                        std::size_t pending);
std::string SearchDroppedEvent(const Sender& from, std::size_t pending);
// `body` is the 72 bytes of the change request as received.
std::string ChangeEvent(const Sender& from, const AppliedChange& change,
                        const std::uint8_t* body);
std::string ChangeUnknownEvent(const Sender& from, const std::uint8_t* body);
std::string ChangeIgnoredEvent(const Sender& from, const std::uint8_t* body);
// A device that kept its settings: another device shows the new address.
std::string ChangeAddressInUseEvent(const Sender& from,
                                    const AppliedChange& change,
                                    const std::uint8_t* body);
std::string ChangeShortEvent(const Sender& from, std::size_t size);
std::string SendFailedEvent(std::size_t size);
std::string ExitEvent(const char* reason, const RunCounters& counters);

}  // namespace devsim
