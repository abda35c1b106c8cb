#include "tools/flood/payloads.h"

#include <algorithm>
#include <cstring>

#include "core/protocol/datagram.h"

namespace flood {
namespace {

constexpr std::uint32_t FORGED_NETWORK = 0x0AC80000u;  // 10.200.0.0/16

}  // namespace

std::vector<std::uint8_t> Junk(Random& random) {
  std::uniform_int_distribution<std::size_t> size(0, MAX_JUNK_SIZE);
  std::vector<std::uint8_t> bytes(size(random));
  for (std::size_t i = 0; i < bytes.size(); i += 8) {
    const std::uint64_t word = random();
    std::memcpy(bytes.data() + i, &word,
                std::min<std::size_t>(8, bytes.size() - i));
  }
  if (bytes.size() >= 4) {
    const std::uint32_t magic = ReadU32(bytes.data());
    if (magic == REQUEST_MAGIC || magic == REPLY_MAGIC)
      WriteU32(bytes.data(), magic ^ 1u);
  }
  return bytes;
}

std::vector<std::uint8_t> ForgedReply(std::uint32_t index, Random& random) {
  DeviceInfo info;
  info.macAddress = {0x06,
                     0xF1,
                     static_cast<std::uint8_t>(index >> 24),
                     static_cast<std::uint8_t>(index >> 16),
                     static_cast<std::uint8_t>(index >> 8),
                     static_cast<std::uint8_t>(index)};
  std::uniform_int_distribution<std::uint32_t> third(0, 255);
  std::uniform_int_distribution<std::uint32_t> fourth(1, 254);
  info.ipAddress = FORGED_NETWORK | third(random) << 8 | fourth(random);
  info.gateway = FORGED_NETWORK | 1u;
  info.subnetMask = 0xFFFF0000u;
  info.basePort = 8000;
  info.httpPort = 80;
  info.modelName = {'F', 'O', 'R', 'G', 'E', 'D'};
  info.firmware = {'0', '.', '0'};

  std::vector<std::uint8_t> datagram(DATAGRAM_SIZE);
  WriteSearchReply(info, static_cast<std::int32_t>(DEVICE_INFO_SIZE),
                   datagram.data());
  return datagram;
}

std::vector<std::uint8_t> SearchRequest() {
  return EncodeRequest(CMD_SEARCH, nullptr);
}

}  // namespace flood
