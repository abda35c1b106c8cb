// The command line of quellan-flood, parsed without side effects.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/text/option_loop.h"

namespace flood {

// A flood that forgets to stop would swamp the test link for every later
// test, so its length is both required and bounded.
constexpr double MAX_SECONDS = 60;
// Far beyond what one sender on a veth reaches; only a typo goes higher.
constexpr std::int64_t MAX_RATE = 1000000;
constexpr std::int64_t MAX_REPLIES = 10000000;
// What a device answers with when no reply rate is named: enough to send
// 100 000 replies in two seconds.
constexpr std::int64_t DEFAULT_REPLY_RATE = 50000;

struct Options {
  std::int64_t junkRate = 0;
  std::int64_t replies = 0;
  std::int64_t replyRate = DEFAULT_REPLY_RATE;
  // Seconds before the first reply: real devices can answer first.
  double repliesAfter = 0;
  std::int64_t requestRate = 0;
  double seconds = 0;
  std::uint32_t to = 0xFFFFFFFFu;
  bool haveRandomStart = false;
  std::uint64_t randomStart = 0;
};

using OptionsResult = ParsedOptions<Options>;

// `args` excludes the program name.
OptionsResult ParseOptions(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace flood
