// The command line of quellan-devsim, parsed without side effects.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/text/option_loop.h"
#include "tools/devsim/device_set.h"

namespace devsim {

// 5000 replies a second: 5000 devices have all answered about a second after
// a search. A kernel charges roughly 1 KiB of buffer per small datagram, so
// a 200 KiB receive buffer holds the replies of some 40 ms: a receiver may
// stall that long without losing any. A burst of 32 stays far below that and
// still keeps the full rate when the loop wakes up to 6 ms late.
constexpr int DEFAULT_RATE = 5000;
constexpr int DEFAULT_BURST = 32;

struct Options {
  bool help = false;
  std::string devicesPath;
  int count = 0;
  Subnet subnet{0x0A4D0000u, 24};
  int delayMinMs = 0;
  int delayMaxMs = 300;
  int rate = DEFAULT_RATE;
  int burst = DEFAULT_BURST;
  bool haveRandomStart = false;
  std::uint64_t randomStart = 0;
  int noise = 0;
  int repeat = 1;
  bool logDatagrams = false;
  // 0 runs until interrupted.
  std::int64_t durationMs = 0;
  bool printDevices = false;
  // Devices that hear change requests but keep their settings, as a device
  // does that is locked or restarts before saving them.
  std::vector<std::array<std::uint8_t, 6>> ignoreChanges;
  // Devices check that a new address is free before they take it and keep
  // their old one otherwise, as many real ones do (address conflict
  // detection): here, free of every other simulated device.
  AddressCheck addressCheck = AddressCheck::None;
  // The one interface served (empty: every one), so that one simulator per
  // broadcast domain can run on one host.
  std::string interfaceName;
  // The address every datagram is sent from (0: the one the system picks),
  // to play a device whose address lies outside the link's subnet.
  std::uint32_t sourceAddress = 0;
};

using OptionsResult = ParsedOptions<Options>;

// `args` excludes the program name. Accepts "--name value" and
// "--name=value".
OptionsResult ParseOptions(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace devsim
