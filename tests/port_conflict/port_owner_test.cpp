#include "core/engine/port_owner.h"

#include <gtest/gtest.h>

#include "core/protocol/datagram.h"

namespace {

// The field as the system's table holds it: the port's two bytes in network
// order at the field's lowest addresses, read as a little-endian number.
constexpr std::uint32_t NetworkPortField(std::uint16_t port) {
  return static_cast<std::uint32_t>(((port & 0xFFu) << 8) | (port >> 8));
}

TEST(PortField, ConvertsFromNetworkByteOrder) {
  EXPECT_EQ(PortFromField(0x0000DCFDu), 64988);
  EXPECT_EQ(PortFromField(0x0000FDDCu), 56573);
  EXPECT_EQ(PortFromField(0xABCDDCFDu), 64988);
  EXPECT_EQ(PortFromField(NetworkPortField(53)), 53);
}

struct ScanCase {
  const char* name;
  std::vector<UdpEndpointRow> rows;
  std::int32_t owner;
};

class PortScan : public testing::TestWithParam<ScanCase> {};

TEST_P(PortScan, FindsTheLastOwnerOfTheDiscoveryPort) {
  EXPECT_EQ(FindPortOwner(GetParam().rows, DISCOVERY_PORT), GetParam().owner);
}

const UdpEndpointRow OTHER{0, NetworkPortField(53), 77};

INSTANTIATE_TEST_SUITE_P(
    Tables, PortScan,
    testing::Values(
        ScanCase{"Empty", {}, 0},
        ScanCase{"OneOwner",
                 {OTHER, {0, NetworkPortField(64988), 1234}, OTHER},
                 1234},
        ScanCase{"LastOfTwoWins",
                 {{0, NetworkPortField(64988), 100},
                  OTHER,
                  {0x0100007Fu, NetworkPortField(64988), 200}},
                 200},
        ScanCase{
            "NextPortDoesNotMatch", {{0, NetworkPortField(64989), 300}}, 0},
        ScanCase{"HostByteOrderDoesNotMatch", {{0, 0x0000FDDCu, 400}}, 0},
        ScanCase{"MatchAfterLaterMismatchStays",
                 {{0, NetworkPortField(64988), 500}, OTHER},
                 500}),
    [](const testing::TestParamInfo<ScanCase>& info) {
      return std::string(info.param.name);
    });

}  // namespace
