#include "tools/devsim/device_set.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/support/hex.h"
#include "tools/devsim/text_form.h"

namespace devsim {
namespace {

Subnet MakeSubnet(const std::string& text) {
  Subnet subnet;
  std::string error;
  EXPECT_TRUE(ParseSubnet(text, &subnet, &error)) << error;
  return subnet;
}

TEST(Subnet, ParsesAndRefuses) {
  const Subnet subnet = MakeSubnet("10.77.0.0/19");
  EXPECT_EQ(subnet.network, 0x0A4D0000u);
  EXPECT_EQ(subnet.prefix, 19);
  EXPECT_EQ(PrefixMask(24), 0xFFFFFF00u);
  EXPECT_EQ(PrefixMask(8), 0xFF000000u);
  const struct {
    const char* text;
    const char* message;
  } BAD[] = {
      {"10.77.0.0", "bad subnet '10.77.0.0'"},
      {"10.77.0/24", "bad subnet"},
      {"10.77.0.0/x", "bad subnet"},
      {"10.77.0.0/7", "subnet prefix of '10.77.0.0/7' must be 8 to 30"},
      {"10.77.0.0/31", "subnet prefix"},
      {"10.77.0.5/24", "subnet '10.77.0.5/24' has host bits set"},
  };
  for (const auto& c : BAD) {
    Subnet parsed;
    std::string error;
    EXPECT_FALSE(ParseSubnet(c.text, &parsed, &error)) << c.text;
    EXPECT_EQ(error.rfind(c.message, 0), 0u) << error;
  }
}

TEST(Generate, AddressesAscendFromHostTenSkippingZeroAndBroadcastEnds) {
  const GeneratedSet set = GenerateDevices(600, MakeSubnet("10.77.0.0/22"), 1);
  ASSERT_TRUE(set.ok) << set.error;
  ASSERT_EQ(set.devices.size(), 600u);
  EXPECT_EQ(DottedText(set.devices[0].info.ipAddress), "10.77.0.10");
  EXPECT_EQ(DottedText(set.devices[244].info.ipAddress), "10.77.0.254");
  EXPECT_EQ(DottedText(set.devices[245].info.ipAddress), "10.77.1.1");
  EXPECT_EQ(DottedText(set.devices[499].info.ipAddress), "10.77.2.1");
  std::uint32_t previous = 0;
  for (const SimDevice& device : set.devices) {
    const std::uint32_t address = device.info.ipAddress;
    EXPECT_GT(address, previous);
    EXPECT_NE(address & 0xFFu, 0u);
    EXPECT_NE(address & 0xFFu, 255u);
    EXPECT_EQ(address & 0xFFFFFC00u, 0x0A4D0000u);
    EXPECT_EQ(device.info.subnetMask, 0xFFFFFC00u);
    EXPECT_EQ(device.info.gateway, 0x0A4D0001u);
    previous = address;
  }
}

TEST(Generate, MacsAreUniqueAndTheSetIsTheSameEveryTime) {
  const Subnet subnet = MakeSubnet("10.77.0.0/18");
  const GeneratedSet set = GenerateDevices(5000, subnet, 2);
  ASSERT_TRUE(set.ok) << set.error;
  std::set<std::string> macs;
  std::set<std::string> models;
  std::set<std::int32_t> modes;
  for (const SimDevice& device : set.devices) {
    macs.insert(MacString(device.info.macAddress));
    models.insert(DeviceTextString(device.info.modelName));
    modes.insert(device.info.ipMode);
    EXPECT_EQ(device.repeat, 2);
    EXPECT_EQ(device.bodyLength, 72);
    EXPECT_EQ(device.replySize, 96u);
    EXPECT_FALSE(DeviceTextString(device.info.firmware).empty());
  }
  EXPECT_EQ(macs.size(), 5000u);
  EXPECT_GE(models.size(), 5u);
  EXPECT_EQ(modes, (std::set<std::int32_t>{IP_MODE_FIXED, IP_MODE_DHCP}));
  const GeneratedSet again = GenerateDevices(5000, subnet, 2);
  ASSERT_TRUE(again.ok);
  for (std::size_t i = 0; i < set.devices.size(); ++i) {
    ASSERT_TRUE(set.devices[i].info == again.devices[i].info) << i;
  }
}

TEST(Generate, CountsBeyondTheSubnetOrTheLimitAreRefused) {
  const Subnet slash24 = MakeSubnet("10.77.0.0/24");
  EXPECT_EQ(SubnetRoom(slash24), 245u);
  EXPECT_TRUE(GenerateDevices(245, slash24, 1).ok);
  const GeneratedSet tooMany = GenerateDevices(246, slash24, 1);
  EXPECT_FALSE(tooMany.ok);
  EXPECT_EQ(tooMany.error,
            "subnet 10.77.0.0/24 holds only 245 generated devices, not 246; "
            "use a shorter prefix");
  EXPECT_FALSE(GenerateDevices(0, slash24, 1).ok);
  EXPECT_FALSE(
      GenerateDevices(MAX_DEVICES + 1, MakeSubnet("10.0.0.0/8"), 1).ok);
  EXPECT_EQ(SubnetRoom(MakeSubnet("10.77.0.0/28")), 5u);
  EXPECT_EQ(SubnetRoom(MakeSubnet("10.77.0.0/30")), 0u);
}

TEST(Reply, FirstGeneratedDeviceAnswersWithTheseBytes) {
  const GeneratedSet set = GenerateDevices(1, MakeSubnet("10.77.0.0/24"), 1);
  ASSERT_TRUE(set.ok);
  const std::vector<std::uint8_t> reply = BuildReply(set.devices[0]);
  const std::vector<std::uint8_t> expected = FromHex(
      // magic, command, param1..3, bodyLength 72
      "23 68 54 10  01 15 00 00  00 00 00 00  00 00 00 00  00 00 00 00"
      "48 00 00 00"
      // MAC, reserved1
      "02 51 4c 00 00 01  a5 00"
      // ipMode 0, 10.77.0.10, gateway 10.77.0.1, mask 255.255.255.0
      "00 00 00 00  0a 00 4d 0a  01 00 4d 0a  00 ff ff ff"
      // basePort 8000, httpPort 80, reserved2
      "40 1f 00 00  50 00 00 00  51 53 00 00 00 00 00 ff"
      // "QC-2040", "V1.0.0.1000"
      "51 43 2d 32 30 34 30 00 00 00 00 00 00 00 00 00"
      "56 31 2e 30 2e 30 2e 31 30 30 30 00 00 00 00 00");
  EXPECT_EQ(ToHex(reply.data(), reply.size()),
            ToHex(expected.data(), expected.size()));
}

TEST(Reply, KnobsShapeTheDatagram) {
  SimDevice device;
  device.info.macAddress = {1, 2, 3, 4, 5, 6};
  MakeDeviceText("MODEL", &device.info.modelName);
  device.bodyLength = 40;
  device.replySize = 64;
  std::vector<std::uint8_t> reply = BuildReply(device);
  ASSERT_EQ(reply.size(), 64u);
  EXPECT_EQ(ReadHeader(reply.data()).bodyLength, 40);
  EXPECT_TRUE(IsSearchReply(reply.data()));

  device.replySize = 300;
  reply = BuildReply(device);
  ASSERT_EQ(reply.size(), 300u);
  EXPECT_EQ(reply[24 + 40], 'M');
  for (std::size_t i = DATAGRAM_SIZE; i < reply.size(); ++i) {
    ASSERT_EQ(reply[i], 0) << i;
  }
  device.replySize = 0;
  EXPECT_TRUE(BuildReply(device).empty());
}

DeviceInfo Filled(std::uint8_t randomStart) {
  std::uint8_t body[DEVICE_INFO_SIZE];
  for (std::size_t i = 0; i < DEVICE_INFO_SIZE; ++i) {
    body[i] = static_cast<std::uint8_t>(randomStart + i * 7);
  }
  return ParseDeviceInfo(body);
}

TEST(Change, OnlyTheSixSettingsOfEveryMatchingDeviceChange) {
  std::vector<SimDevice> devices(3);
  devices[0].info = Filled(1);
  devices[1].info = Filled(2);
  devices[2].info = Filled(1);
  devices[2].info.ipAddress = 0x0A4D0063u;
  const std::vector<SimDevice> before = devices;

  DeviceInfo request = Filled(100);
  request.macAddress = devices[0].info.macAddress;
  const std::vector<AppliedChange> applied =
      ApplyChangeRequest(devices, request, AddressCheck::None);

  ASSERT_EQ(applied.size(), 2u);
  EXPECT_EQ(applied[0].device, 0u);
  EXPECT_EQ(applied[1].device, 2u);
  EXPECT_TRUE(devices[1].info == before[1].info);
  for (const AppliedChange& change : applied) {
    const DeviceInfo& now = devices[change.device].info;
    const DeviceInfo& old = before[change.device].info;
    EXPECT_TRUE(change.before == old);
    EXPECT_TRUE(change.after == now);
    EXPECT_EQ(now.ipMode, request.ipMode);
    EXPECT_EQ(now.ipAddress, request.ipAddress);
    EXPECT_EQ(now.gateway, request.gateway);
    EXPECT_EQ(now.subnetMask, request.subnetMask);
    EXPECT_EQ(now.basePort, request.basePort);
    EXPECT_EQ(now.httpPort, request.httpPort);
    // Bytes 0 to 7 and 32 to 71 of the body stay the device's own.
    std::uint8_t oldBytes[DEVICE_INFO_SIZE];
    std::uint8_t newBytes[DEVICE_INFO_SIZE];
    SerializeDeviceInfo(old, oldBytes);
    SerializeDeviceInfo(now, newBytes);
    for (std::size_t i = 0; i < DEVICE_INFO_SIZE; ++i) {
      if (i < 8 || i >= 32) {
        EXPECT_EQ(newBytes[i], oldBytes[i]) << "byte " << i;
      }
    }
  }
}

TEST(Change, UnknownMacChangesNothing) {
  std::vector<SimDevice> devices(2);
  devices[0].info = Filled(1);
  devices[1].info = Filled(2);
  const std::vector<SimDevice> before = devices;
  DeviceInfo request = Filled(3);
  request.macAddress = {0, 0, 0, 0, 0, 0};
  EXPECT_TRUE(ApplyChangeRequest(devices, request, AddressCheck::None).empty());
  for (std::size_t i = 0; i < devices.size(); ++i) {
    EXPECT_TRUE(devices[i].info == before[i].info);
  }
}

TEST(Change, LaterRepliesCarryTheNewSettings) {
  std::vector<SimDevice> devices(1);
  devices[0].info = Filled(9);
  DeviceInfo request = devices[0].info;
  request.ipAddress = 0x0A4D0042u;
  request.basePort = -1;
  ApplyChangeRequest(devices, request, AddressCheck::None);
  const std::vector<std::uint8_t> reply = BuildReply(devices[0]);
  const DeviceInfo sent = ParseDeviceInfo(reply.data() + HEADER_SIZE);
  EXPECT_EQ(sent.ipAddress, 0x0A4D0042u);
  EXPECT_EQ(sent.basePort, -1);
  EXPECT_TRUE(sent == devices[0].info);
}

// A device that checks its new address first keeps its settings while
// another device shows that address, and takes them once it is free.
TEST(Change, ConflictDetectionKeepsATakenAddressOut) {
  std::vector<SimDevice> devices(2);
  devices[0].info = Filled(1);
  devices[1].info = Filled(2);
  DeviceInfo request = devices[0].info;
  request.ipAddress = devices[1].info.ipAddress;
  request.httpPort = 8080;
  const std::vector<AppliedChange> refused =
      ApplyChangeRequest(devices, request, AddressCheck::ConflictDetection);
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_TRUE(refused[0].addressInUse);
  EXPECT_TRUE(devices[0].info == Filled(1));
  devices[1].info.ipAddress = 0x0A4D0077u;
  const std::vector<AppliedChange> taken =
      ApplyChangeRequest(devices, request, AddressCheck::ConflictDetection);
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_FALSE(taken[0].addressInUse);
  EXPECT_EQ(devices[0].info.httpPort, 8080);
}

}  // namespace
}  // namespace devsim
