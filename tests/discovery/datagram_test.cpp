// The datagram codec against hand-written byte fixtures.
#include "core/protocol/datagram.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/hex.h"

namespace {

// A 256-byte zero-filled receive buffer holding `datagram` at its start.
std::vector<std::uint8_t> Received(const std::vector<std::uint8_t>& datagram) {
  std::vector<std::uint8_t> buffer(RECEIVE_BUFFER_SIZE, 0);
  std::copy_n(datagram.begin(), std::min(datagram.size(), buffer.size()),
              buffer.begin());
  return buffer;
}

// A device's reply: header, then the body with 192.168.1.10, gateway
// 192.168.1.1, mask 255.255.255.0, ports 2222 and 8080, texts "CAM-200" and
// "v2.3.1".
const char REPLY_HEX[] =
    "23 68 54 10 01 15 00 00  07 00 00 00 08 00 00 00 09 00 00 00 48 00 00 00"
    "00 1a 2b 3c 4d 5e aa bb  01 00 00 00 0a 01 a8 c0 01 01 a8 c0 00 ff ff ff"
    "ae 08 00 00 90 1f 00 00  01 02 03 04 05 06 07 08"
    "43 41 4d 2d 32 30 30 00  00 00 00 00 00 00 00 00"
    "76 32 2e 33 2e 31 00 00  00 00 00 00 00 00 00 00";

TEST(EncodeRequest, SearchRequestIsTheFixed24Bytes) {
  const auto datagram = EncodeRequest(CMD_SEARCH, nullptr);
  EXPECT_EQ(ToHex(datagram.data(), datagram.size()),
            "34 52 34 87 01 05 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
            "00 00 00");
}

TEST(EncodeRequest, ChangeRequestCarriesTheBodyWithBodyLengthZero) {
  const auto reply = FromHex(REPLY_HEX);
  const DeviceInfo body = ParseDeviceInfo(reply.data() + HEADER_SIZE);
  const auto datagram = EncodeRequest(CMD_CHANGE_IP, &body);
  ASSERT_EQ(datagram.size(), 96u);
  EXPECT_EQ(ToHex(datagram.data(), 24),
            "34 52 34 87 02 05 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
            "00 00 00");
  EXPECT_TRUE(
      std::equal(datagram.begin() + 24, datagram.end(), reply.begin() + 24));
}

struct Recognition {
  const char* name;
  const char* headerHex;
  bool isReply;
  bool isRequest;
};

class RecognitionTest : public testing::TestWithParam<Recognition> {};

TEST_P(RecognitionTest, OnlyMagicAndCommandDecide) {
  const auto buffer = Received(FromHex(GetParam().headerHex));
  EXPECT_EQ(IsSearchReply(buffer.data()), GetParam().isReply);
  EXPECT_EQ(IsSearchRequest(buffer.data()), GetParam().isRequest);
}

INSTANTIATE_TEST_SUITE_P(
    Datagrams, RecognitionTest,
    testing::Values(
        Recognition{"reply", "23 68 54 10 01 15 00 00", true, false},
        Recognition{"reply_with_params", "23 68 54 10 01 15 00 00 ff ff ff ff",
                    true, false},
        Recognition{"request_magic_reply_command", "34 52 34 87 01 15 00 00",
                    false, false},
        Recognition{"reply_magic_search_command", "23 68 54 10 01 05 00 00",
                    false, false},
        Recognition{"reply_magic_high_command_bits", "23 68 54 10 01 15 00 01",
                    false, false},
        Recognition{"search_request", "34 52 34 87 01 05 00 00", false, true},
        Recognition{"change_request", "34 52 34 87 02 05 00 00", false, false},
        Recognition{"magic_bytes_reversed", "10 54 68 23 00 00 15 01", false,
                    false},
        Recognition{"empty", "", false, false}),
    [](const testing::TestParamInfo<Recognition>& info) {
      return std::string(info.param.name);
    });

TEST(DecodeDeviceInfo, FullReplyGivesEveryFieldAndText) {
  const auto buffer = Received(FromHex(REPLY_HEX));
  const DecodedReply reply = DecodeDeviceInfo(buffer.data());
  EXPECT_EQ(reply.bodyLength, 72);
  EXPECT_EQ(MacText(reply.info.macAddress), L"00:1A:2B:3C:4D:5E");
  EXPECT_EQ(AddressText(reply.info.ipAddress), L"192.168.1.10");
  EXPECT_EQ(AddressText(reply.info.gateway), L"192.168.1.1");
  EXPECT_EQ(AddressText(reply.info.subnetMask), L"255.255.255.0");
  EXPECT_EQ(PortText(reply.info.basePort), L"2222");
  EXPECT_EQ(PortText(reply.info.httpPort), L"8080");
  EXPECT_EQ(IpModeText(reply.info.ipMode), L"DHCP");
  EXPECT_EQ(DeviceTextOf(reply.info.modelName, reply.bodyLength), L"CAM-200");
  EXPECT_EQ(DeviceTextOf(reply.info.firmware, reply.bodyLength), L"v2.3.1");
}

TEST(WriteSearchReply, GivesTheDevicesBytesWithZeroParameters) {
  auto expected = FromHex(REPLY_HEX);
  std::fill(expected.begin() + 8, expected.begin() + 20, 0);
  const DecodedReply decoded =
      DecodeDeviceInfo(Received(FromHex(REPLY_HEX)).data());
  std::vector<std::uint8_t> written(DATAGRAM_SIZE, 0xEE);
  WriteSearchReply(decoded.info, 72, written.data());
  EXPECT_EQ(written, expected);
}

TEST(DecodeDeviceInfo, ParseAndSerialiseAreExactForAnyBody) {
  std::uint8_t body[DEVICE_INFO_SIZE];
  for (std::size_t i = 0; i < sizeof body; ++i)
    body[i] = static_cast<std::uint8_t>(i * 37 + 11);
  std::uint8_t again[DEVICE_INFO_SIZE];
  SerializeDeviceInfo(ParseDeviceInfo(body), again);
  EXPECT_EQ(0, std::memcmp(body, again, sizeof body));
}

TEST(DecodeDeviceInfo, ShortReplyReadsZeroForWhatItLacks) {
  // 64 bytes: header plus the first 40 body bytes, texts cut off.
  auto reply = FromHex(REPLY_HEX);
  reply.resize(64);
  for (std::int32_t bodyLength : {40, 41}) {
    WriteU32(reply.data() + 20, static_cast<std::uint32_t>(bodyLength));
    const auto buffer = Received(reply);
    const DecodedReply decoded = DecodeDeviceInfo(buffer.data());
    SCOPED_TRACE(bodyLength);
    EXPECT_EQ(decoded.bodyLength, bodyLength);
    EXPECT_EQ(AddressText(decoded.info.ipAddress), L"192.168.1.10");
    EXPECT_EQ(PortText(decoded.info.httpPort), L"8080");
    EXPECT_EQ(DeviceTextOf(decoded.info.modelName, decoded.bodyLength), L"");
    EXPECT_EQ(DeviceTextOf(decoded.info.firmware, decoded.bodyLength), L"");
  }
}

TEST(DecodeDeviceInfo, BodyLengthDecidesWhetherTextsCount) {
  const auto buffer = Received(FromHex(REPLY_HEX));
  const DeviceInfo info = DecodeDeviceInfo(buffer.data()).info;
  struct Case {
    std::int32_t bodyLength;
    const wchar_t* model;
  } cases[] = {{-1, L""},        {0, L""},         {40, L""},
               {41, L"CAM-200"}, {72, L"CAM-200"}, {1000, L"CAM-200"}};
  for (const Case& c : cases)
    EXPECT_EQ(DeviceTextOf(info.modelName, c.bodyLength), c.model)
        << c.bodyLength;
}

TEST(DeviceTextOf, SixteenCharactersStopAtTheirArea) {
  auto reply = FromHex(REPLY_HEX);
  const char model[] = "ABCDEFGHIJKLMNOP";
  std::memcpy(reply.data() + 24 + 40, model, 16);
  const auto buffer = Received(reply);
  const DecodedReply decoded = DecodeDeviceInfo(buffer.data());
  EXPECT_EQ(DeviceTextOf(decoded.info.modelName, 72), L"ABCDEFGHIJKLMNOP");
  EXPECT_EQ(DeviceTextOf(decoded.info.firmware, 72), L"v2.3.1");
}

TEST(DeviceTextOf, HighBytesWidenOneToOne) {
  DeviceText area{};
  area[0] = 'A';
  area[1] = 0xE9;
  area[2] = 0xFF;
  EXPECT_EQ(DeviceTextOf(area, 72), std::wstring(L"A\u00e9\u00ff"));
}

TEST(TextForms, IpModeNames) {
  EXPECT_EQ(IpModeText(0), L"Fixed IP");
  EXPECT_EQ(IpModeText(1), L"DHCP");
  EXPECT_EQ(IpModeText(2), L"PPPoE (ADSL)");
  EXPECT_EQ(IpModeText(3), L"");
  EXPECT_EQ(IpModeText(-1), L"");
}

TEST(TextForms, PortsAreSignedDecimal) {
  EXPECT_EQ(PortText(-1), L"-1");
  EXPECT_EQ(PortText(0), L"0");
  EXPECT_EQ(PortText(2147483647), L"2147483647");
  EXPECT_EQ(PortText(-2147483647 - 1), L"-2147483648");
}

TEST(TextForms, AddressesPrintMostSignificantByteFirst) {
  const auto bytes = FromHex("01 00 00 7f");
  EXPECT_EQ(AddressText(ReadU32(bytes.data())), L"127.0.0.1");
  EXPECT_EQ(AddressText(0), L"0.0.0.0");
  EXPECT_EQ(AddressText(0xFFFFFFFFu), L"255.255.255.255");
  EXPECT_EQ(MacText({0xff, 0, 0x0a, 0xa0, 1, 0x10}), L"FF:00:0A:A0:01:10");
}

TEST(ParseAddress, AcceptsDottedQuadsOnly) {
  std::uint32_t value = 0;
  EXPECT_TRUE(ParseAddress("192.168.1.10", &value));
  EXPECT_EQ(value, 0xC0A8010Au);
  EXPECT_TRUE(ParseAddress("0.0.0.0", &value));
  EXPECT_EQ(value, 0u);
  for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1..2.3",
                          "1.2.3.4 ", "a.b.c.d", "1.2.3.0004", "-1.2.3.4"})
    EXPECT_FALSE(ParseAddress(bad, &value)) << bad;
}

TEST(ParseMac, EveryWrittenFormInEitherCase) {
  const struct {
    const char* text;
    const wchar_t* mac;
  } GOOD[] = {
      {"0a:1B:2c:3D:4e:5F", L"0A:1B:2C:3D:4E:5F"},
      {"00-11-22-33-44-FF", L"00:11:22:33:44:FF"},
      {"001A2B000103", L"00:1A:2B:00:01:03"},
      {"001a2b0001ff", L"00:1A:2B:00:01:FF"},
      {"001a.2b00.0103", L"00:1A:2B:00:01:03"},
      {"FFEE.DDCC.BBAA", L"FF:EE:DD:CC:BB:AA"},
  };
  for (const auto& good : GOOD) {
    std::array<std::uint8_t, 6> mac{};
    EXPECT_TRUE(ParseMac(good.text, &mac)) << good.text;
    EXPECT_EQ(MacText(mac), good.mac) << good.text;
  }
}

TEST(ParseMac, BadMacsAreRefusedAndLeaveTheOutputAlone) {
  const char* const BAD[] = {
      "",
      "00:11:22:33:44",
      "00:11:22:33:44:55:66",
      "00:11:22:33:44:5",
      "00:11-22:33:44:55",
      "00:11:22:33:44-55",
      "zz:11:22:33:44:55",
      "00.11.22.33.44.55",
      "00:11:22:33:44:5G",
      "00 11 22 33 44 55",
      "0011223344",
      "00112233445566",
      "00112233445G",
      "0011-2233-4455",
      "0011.2233:4455",
      "001.12233.4455",
      "0011.2233.445G",
      "00112.233.4455",
      "00:112:23:34:45:5",
      " 00:11:22:33:44:55",
      "001122334455 ",
      "0x1122334455",
  };
  for (const char* text : BAD) {
    std::array<std::uint8_t, 6> mac{1, 2, 3, 4, 5, 6};
    EXPECT_FALSE(ParseMac(text, &mac)) << text;
    EXPECT_EQ(MacText(mac), L"01:02:03:04:05:06") << text;
  }
}

TEST(ApplyIpSettings, WritesTheSixSettingsAndNothingElse) {
  const auto reply = FromHex(REPLY_HEX);
  DeviceInfo info = ParseDeviceInfo(reply.data() + HEADER_SIZE);
  IpSettings settings;
  settings.ipMode = IP_MODE_FIXED;
  settings.ipAddress = 0xC0A8010Au;  // 192.168.1.10
  settings.gateway = 0x0A000001u;
  settings.subnetMask = 0xFFFF0000u;
  settings.basePort = 3000;
  settings.httpPort = 81;
  ApplyIpSettings(info, settings);

  std::uint8_t body[DEVICE_INFO_SIZE];
  SerializeDeviceInfo(info, body);
  const std::uint8_t* original = reply.data() + HEADER_SIZE;
  EXPECT_EQ(0, std::memcmp(body, original, 8));
  EXPECT_EQ(0, std::memcmp(body + 32, original + 32, 40));
  EXPECT_EQ(ToHex(body + 8, 24),
            "00 00 00 00 0a 01 a8 c0 01 00 00 0a 00 00 ff ff b8 0b 00 00 51 "
            "00 00 00");
}

TEST(ApplyIpSettings, FillingAndApplyingRoundTrip) {
  const auto reply = FromHex(REPLY_HEX);
  const DeviceInfo info = ParseDeviceInfo(reply.data() + HEADER_SIZE);
  IpSettings settings = SettingsFromDeviceInfo(info);
  EXPECT_EQ(settings.subnetMask, 0xFFFFFF00u);  // body offset 20
  EXPECT_EQ(settings.gateway, 0xC0A80101u);     // body offset 16
  DeviceInfo copy = info;
  ApplyIpSettings(copy, settings);
  EXPECT_EQ(copy, info);
}

TEST(EncodeTestReply, FixedBodyAndCopiedParameters) {
  const auto request =
      Received(FromHex("34 52 34 87 01 05 00 00 01 00 00 00 02 00 00 00 03 00 "
                       "00 00 00 00 00 00"));
  const auto reply = EncodeTestReply(request.data());
  EXPECT_EQ(ToHex(reply.data(), reply.size()),
            "23 68 54 10 01 15 00 00 01 00 00 00 02 00 00 00 03 00 00 00 48 "
            "00 00 00 "
            "00 00 00 00 00 00 00 00 00 00 00 00 01 00 00 7f 00 00 00 00 00 "
            "ff ff ff ae 08 00 00 50 00 00 00 00 00 00 00 00 00 00 00 "
            "52 45 53 50 54 45 53 54 00 00 00 00 00 00 00 00 "
            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
  const auto received = Received({reply.begin(), reply.end()});
  EXPECT_TRUE(IsSearchReply(received.data()));
  EXPECT_EQ(DecodeDeviceInfo(received.data()).info.ipAddress, LOOPBACK_ADDRESS);
}

}  // namespace
