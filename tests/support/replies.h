// Search replies as a device sends them, for tests of the device table and
// the device view.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/devices/device_table.h"

struct TestReply {
  std::array<std::uint8_t, 6> mac{};
  std::uint32_t ip = 0;
  std::int32_t bodyLength = 72;
  std::int32_t ipMode = IP_MODE_FIXED;
  std::int32_t basePort = 2222;
  std::int32_t httpPort = 80;
  const char* model = "CAM-1";
  const char* firmware = "1.0";
};

// The zero-filled 256-byte receive buffer holding the reply.
std::vector<std::uint8_t> ReplyBuffer(const TestReply& reply);
// The same reply as the receive callback queues it.
PendingReply Pending(const TestReply& reply);
