#include "bench/reply_set.h"

#include <algorithm>
#include <cstring>
#include <random>

#include "core/protocol/datagram.h"

namespace {

ReceiveBuffer ReplyFor(std::uint32_t index) {
  DeviceInfo info;
  info.macAddress = {0x00,
                     0x1A,
                     static_cast<std::uint8_t>(index >> 24),
                     static_cast<std::uint8_t>(index >> 16),
                     static_cast<std::uint8_t>(index >> 8),
                     static_cast<std::uint8_t>(index)};
  // 10.x.y.z, never a network or broadcast-looking address.
  info.ipAddress = 0x0A000000u | ((index / 250) << 8) | (index % 250 + 1);
  info.subnetMask = 0xFFFF0000u;
  info.gateway = 0x0A000001u;
  info.basePort = 2222;
  info.httpPort = 80;
  std::memcpy(info.modelName.data(), "CAM-4100", 8);
  std::memcpy(info.firmware.data(), "2.1.7", 5);
  ReceiveBuffer buffer(RECEIVE_BUFFER_SIZE, 0);
  WriteSearchReply(info, static_cast<std::int32_t>(DEVICE_INFO_SIZE),
                   buffer.data());
  return buffer;
}

}  // namespace

std::vector<ReceiveBuffer> DistinctReplies(std::size_t count) {
  std::vector<std::uint32_t> order(count);
  for (std::size_t i = 0; i < count; ++i)
    order[i] = static_cast<std::uint32_t>(i);
  // A fixed start value: every run measures the same arrival order.
  std::mt19937 random(64988);
  std::shuffle(order.begin(), order.end(), random);
  std::vector<ReceiveBuffer> replies;
  replies.reserve(count);
  for (std::uint32_t index : order) replies.push_back(ReplyFor(index));
  return replies;
}
