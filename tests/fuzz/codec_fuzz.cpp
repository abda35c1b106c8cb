// The codec over whatever arrives on the port: any bytes, cut or padded to
// the zero-filled 256-byte receive buffer.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/protocol/datagram.h"
#include "tests/fuzz/require.h"

namespace {

std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

void CheckAddressText(std::uint32_t numeric) {
  const std::wstring text = AddressText(numeric);
  std::uint32_t back = 0;
  FUZZ_REQUIRE(text.size() <= 15);
  FUZZ_REQUIRE(ParseAddress(Narrow(text), &back) && back == numeric);
}

void CheckTexts(const DecodedReply& reply) {
  const DeviceInfo& info = reply.info;
  CheckAddressText(info.ipAddress);
  CheckAddressText(info.gateway);
  CheckAddressText(info.subnetMask);
  FUZZ_REQUIRE(MacText(info.macAddress).size() == 17);
  FUZZ_REQUIRE(std::stol(Narrow(PortText(info.basePort))) == info.basePort);
  FUZZ_REQUIRE(std::stol(Narrow(PortText(info.httpPort))) == info.httpPort);
  FUZZ_REQUIRE(IpModeText(info.ipMode).size() <= 12);
  const std::wstring model = DeviceTextOf(info.modelName, reply.bodyLength);
  const std::wstring firmware = DeviceTextOf(info.firmware, reply.bodyLength);
  FUZZ_REQUIRE(model.size() <= DEVICE_TEXT_SIZE);
  FUZZ_REQUIRE(firmware.size() <= DEVICE_TEXT_SIZE);
  if (reply.bodyLength <= TEXT_BODY_THRESHOLD)
    FUZZ_REQUIRE(model.empty() && firmware.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  std::uint8_t buffer[RECEIVE_BUFFER_SIZE] = {};
  std::memcpy(buffer, data, std::min(size, sizeof buffer));

  const DiscoveryHeader header = ReadHeader(buffer);
  FUZZ_REQUIRE(IsSearchReply(buffer) == (header.magic == REPLY_MAGIC &&
                                         header.command == CMD_SEARCH_REPLY));
  FUZZ_REQUIRE(IsSearchRequest(buffer) ==
               (header.magic == REQUEST_MAGIC && header.command == CMD_SEARCH));
  std::uint8_t written[DATAGRAM_SIZE] = {};
  WriteHeader(header, written);
  FUZZ_REQUIRE(std::memcmp(written, buffer, HEADER_SIZE) == 0);

  const DecodedReply reply = DecodeDeviceInfo(buffer);
  FUZZ_REQUIRE(reply.bodyLength == header.bodyLength);
  SerializeDeviceInfo(reply.info, written + HEADER_SIZE);
  FUZZ_REQUIRE(std::memcmp(written + HEADER_SIZE, buffer + HEADER_SIZE,
                           DEVICE_INFO_SIZE) == 0);
  FUZZ_REQUIRE(ParseDeviceInfo(written + HEADER_SIZE) == reply.info);
  CheckTexts(reply);

  const auto testReply = EncodeTestReply(buffer);
  FUZZ_REQUIRE(IsSearchReply(testReply.data()));

  std::uint32_t numeric = 0;
  if (ParseAddress(std::string(data, data + size), &numeric))
    CheckAddressText(numeric);
  return 0;
}
