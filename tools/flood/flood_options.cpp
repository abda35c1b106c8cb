#include "tools/flood/flood_options.h"

#include <cerrno>
#include <cstdlib>

#include "core/protocol/datagram.h"
#include "core/text/option_loop.h"

namespace flood {
namespace {

bool ReadCount(const std::string& text, std::int64_t high, std::int64_t* out) {
  if (text.empty() || text[0] == '-' || text[0] == '+') return false;
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value > high) return false;
  *out = value;
  return true;
}

bool ReadSeconds(const std::string& text, double* out) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(value >= 0) || value > MAX_SECONDS)
    return false;
  *out = value;
  return true;
}

// Only the limited broadcast and the app side's first test link: nothing the
// flood sends can be meant for another network.
bool ReadDestination(const std::string& text, std::uint32_t* out) {
  std::uint32_t address = 0;
  if (!ParseAddress(text, &address)) return false;
  if (address != BROADCAST_ADDRESS && (address >> 8) != 0x0A4D00u) return false;
  *out = address;
  return true;
}

// The value's reader of each option; false for a bad value.
bool ReadValue(const std::string& name, const std::string& value, Options* o,
               bool* haveSeconds) {
  if (name == "--junk") return ReadCount(value, MAX_RATE, &o->junkRate);
  if (name == "--replies") return ReadCount(value, MAX_REPLIES, &o->replies);
  if (name == "--reply-rate")
    return ReadCount(value, MAX_RATE, &o->replyRate) && o->replyRate > 0;
  if (name == "--replies-after") return ReadSeconds(value, &o->repliesAfter);
  if (name == "--requests") return ReadCount(value, MAX_RATE, &o->requestRate);
  if (name == "--seconds")
    return *haveSeconds = ReadSeconds(value, &o->seconds) && o->seconds > 0;
  if (name == "--to") return ReadDestination(value, &o->to);
  std::int64_t start = 0;
  o->haveRandomStart = ReadCount(value, INT64_MAX, &start);
  o->randomStart = static_cast<std::uint64_t>(start);
  return o->haveRandomStart;
}

}  // namespace

OptionsResult ParseOptions(const std::vector<std::string>& args) {
  OptionsResult result;
  bool haveSeconds = false;
  OptionReader reader;
  reader.kind = [](const std::string& name) {
    static const char* const NAMES[] = {
        "--junk",     "--replies", "--reply-rate", "--replies-after",
        "--requests", "--seconds", "--to",         "--random-start"};
    for (const char* known : NAMES)
      if (name == known) return OptionKind::Valued;
    return OptionKind::Unknown;
  };
  reader.option = [&](const std::string& name, const std::string& value,
                      std::string* error) {
    if (ReadValue(name, value, &result.options, &haveSeconds)) return true;
    *error = "bad value '" + value + "' for " + name;
    return false;
  };
  reader.positional = [](const std::string& arg, std::string* error) {
    *error = "unknown option '" + arg + "'";
    return false;
  };
  if (!ReadOptions(args, 0, reader, &result.error)) return result;
  if (!haveSeconds) {
    result.error = "--seconds is required";
    return result;
  }
  result.ok = true;
  return result;
}

std::string UsageText() {
  return R"(Usage: quellan-flood --seconds S [--junk RATE] [--replies N]
                     [--reply-rate R] [--replies-after S]
                     [--requests RATE] [--to ADDRESS] [--random-start N]

Floods UDP port 64988 for the fault tests, from the peer side of the private
test link only: it refuses to run unless every local IPv4 address is on
10.77.x.x or 10.78.x.x.

  --seconds S        stop after S seconds (required, at most 60)
  --junk RATE        random datagrams of 0 to 1500 random bytes a second
  --replies N        N search replies with distinct MAC addresses and random
                     addresses in 10.200.0.0/16 ...
  --reply-rate R     ... at R a second (default 50000) ...
  --replies-after S  ... from S seconds after the start (default 0)
  --requests RATE    search requests a second
  --to ADDRESS       255.255.255.255 (default) or an address in 10.77.0.0/24
  --random-start N   fixes the random contents, to repeat a run

Prints one JSON line when done: {"event":"exit","junk":...,"replies":...,
"requests":...,"send_failures":...}. Exit status: 0 when done, 1 when not
isolated or the socket cannot be opened, 2 for a bad command line.
)";
}

}  // namespace flood
