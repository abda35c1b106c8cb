#include "tests/support/replies.h"

#include <cstring>

std::vector<std::uint8_t> ReplyBuffer(const TestReply& r) {
  DeviceInfo info;
  info.macAddress = r.mac;
  info.ipAddress = r.ip;
  info.ipMode = r.ipMode;
  info.basePort = r.basePort;
  info.httpPort = r.httpPort;
  std::memcpy(info.modelName.data(), r.model, std::strlen(r.model));
  std::memcpy(info.firmware.data(), r.firmware, std::strlen(r.firmware));
  std::vector<std::uint8_t> buffer(RECEIVE_BUFFER_SIZE, 0);
  WriteSearchReply(info, r.bodyLength, buffer.data());
  return buffer;
}

PendingReply Pending(const TestReply& r) {
  PendingReply entry;
  MakePendingReply(ReplyBuffer(r).data(), 0, &entry);
  return entry;
}
