// One emulated device: the body it answers with plus the knobs that make it
// misbehave in the ways a device table has to survive.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/protocol/datagram.h"

namespace devsim {

constexpr int MAX_REPEAT = 16;
// The largest UDP payload that crosses an Ethernet link unfragmented.
constexpr std::size_t MAX_REPLY_SIZE = 1472;

struct SimDevice {
  DeviceInfo info;
  // Written into the reply header as is; 40 or less hides the texts.
  std::int32_t bodyLength = static_cast<std::int32_t>(DEVICE_INFO_SIZE);
  // Replies per search; 0 makes a device that only listens.
  int repeat = 1;
  // Bytes actually sent: shorter cuts the reply, longer pads it with zeros.
  std::size_t replySize = DATAGRAM_SIZE;
};

}  // namespace devsim
