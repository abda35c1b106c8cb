// ONVIF answers as rows of the one table: the address a device is listed
// at, where its MAC comes from, and how its rows join ours.
#include "cli/network/onvif_devices.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/cli/cli_test_devices.h"

namespace cli {
namespace {

// Interface 2 is the adapter 10.77.0.1/24, interface 3 is 10.78.0.1/24.
const std::vector<LocalAdapter> LOCAL{{Ip(10, 77, 0, 1), MASK24, 2},
                                      {Ip(10, 78, 0, 1), MASK24, 3}};
const std::uint32_t SOURCE = Ip(10, 77, 0, 2);

OnvifAnswer Answer(const std::string& endpoint, std::vector<std::string> xaddrs,
                   std::uint32_t source = SOURCE,
                   std::uint32_t interfaceIndex = 2) {
  OnvifAnswer answer;
  answer.match.endpoint = endpoint;
  answer.match.xaddrs = std::move(xaddrs);
  answer.source = source;
  answer.interfaceIndex = interfaceIndex;
  return answer;
}

std::string At(std::uint32_t ip) { return "http://" + Dotted(ip) + "/onvif"; }

TEST(OnvifDevices, AddressIsTheListedOneOfTheAdaptersSubnetElseSource) {
  const struct {
    std::vector<std::string> xaddrs;
    std::uint32_t interfaceIndex;
    std::uint32_t ip;
  } CASES[] = {
      // A link-local service address listed first is passed over.
      {{"http://169.254.12.7/onvif", At(Ip(10, 77, 0, 51))},
       2,
       Ip(10, 77, 0, 51)},
      // One per network: the subnet of the adapter that heard it wins.
      {{At(Ip(10, 78, 0, 9)), At(Ip(10, 77, 0, 9))}, 2, Ip(10, 77, 0, 9)},
      {{At(Ip(10, 77, 0, 9)), At(Ip(10, 78, 0, 9))}, 3, Ip(10, 78, 0, 9)},
      // Neither in the adapter's subnet, or no adapter known: the first.
      {{At(Ip(192, 168, 1, 64)), At(Ip(172, 16, 0, 5))},
       2,
       Ip(192, 168, 1, 64)},
      {{At(Ip(10, 78, 0, 9)), At(Ip(10, 77, 0, 9))}, 9, Ip(10, 78, 0, 9)},
      // Nothing usable listed: where the answer came from.
      {{"http://169.254.12.7/onvif"}, 2, SOURCE},
      {{"http://camera.local/onvif", "http://[fe80::1]/onvif"}, 2, SOURCE},
      {{}, 2, SOURCE},
  };
  for (const auto& c : CASES) {
    const auto rows = OnvifDevices(
        {Answer("urn:uuid:1", c.xaddrs, SOURCE, c.interfaceIndex)}, LOCAL, {});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(Dotted(rows[0].device.settings.ipAddress), Dotted(c.ip))
        << c.xaddrs.size() << " xaddrs, interface " << c.interfaceIndex;
    EXPECT_EQ(rows[0].device.heardBy, HeardBy::Onvif);
  }
}

TEST(OnvifDevices, MacFromScopesElseNeighbourOfTheAnsweringAddressOnly) {
  const std::uint32_t cam = Ip(10, 77, 0, 51);
  const Mac scoped = MacOf(0x51), neighbour = MacOf(0xAA);
  auto scopedAnswer = [&](OnvifAnswer answer) {
    answer.match.about.mac = scoped;
    return answer;
  };
  const struct {
    const char* what;
    std::vector<OnvifAnswer> answers;
    std::vector<Neighbour> table;
    std::vector<std::optional<Mac>> macs;
  } CASES[] = {
      {"the scope wins over the table",
       {scopedAnswer(Answer("a", {At(cam)}, cam))},
       {{cam, neighbour, 2}},
       {scoped}},
      {"answered from its listed address",
       {Answer("a", {At(cam)}, cam)},
       {{cam, neighbour, 2}},
       {neighbour}},
      {"answered from another address (NAT, a second address)",
       {Answer("a", {At(cam)}, SOURCE)},
       {{cam, neighbour, 2}, {SOURCE, MacOf(0xBB), 2}},
       {std::nullopt}},
      {"no entry", {Answer("a", {At(cam)}, cam)}, {}, {std::nullopt}},
      {"no XAddr host to match the source", {Answer("a", {}, cam)},
       {{cam, neighbour, 2}},
       {std::nullopt}},
      {"two devices on one address share the entry: neither gets it",
       {Answer("a", {At(cam)}, cam), Answer("b", {At(cam)}, cam),
        scopedAnswer(Answer("c", {At(cam)}, cam))},
       {{cam, neighbour, 2}},
       {std::nullopt, std::nullopt, scoped}},
  };
  for (const auto& c : CASES) {
    const auto rows = OnvifDevices(c.answers, LOCAL, c.table);
    ASSERT_EQ(rows.size(), c.macs.size()) << c.what;
    for (std::size_t i = 0; i < rows.size(); ++i)
      EXPECT_EQ(rows[i].device.mac, c.macs[i]) << c.what << ", row " << i;
  }
}

TEST(OnvifDevices, OneEndpointHeardTwiceOrOnTwoInterfacesIsOneRow) {
  const auto rows =
      OnvifDevices({Answer("a", {At(Ip(10, 77, 0, 51))}, SOURCE, 2),
                    Answer("b", {At(Ip(10, 77, 0, 52))}, SOURCE, 2),
                    Answer("a", {At(Ip(10, 77, 0, 51))}, SOURCE, 2),
                    Answer("a", {At(Ip(10, 77, 0, 51))}, Ip(10, 78, 0, 2), 3)},
                   LOCAL, {});
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].device.onvif->endpoint, "a");
  EXPECT_EQ(rows[0].interfaces, (std::vector<std::uint32_t>{2, 3}));
  EXPECT_EQ(rows[1].interfaces, (std::vector<std::uint32_t>{2}));
}

TEST(OnvifDevices, MergedByMacNeverByAddress) {
  // Ours: 01 on .12, 02 on .13. ONVIF: 01 again (listed at another
  // address), a camera without a MAC on .12 and one with its own MAC on .13.
  auto onvif = [](std::optional<Mac> mac, std::uint32_t ip) {
    FoundDevice device = Device(0, ip);
    device.mac = mac;
    device.heardBy = HeardBy::Onvif;
    device.onvif = OnvifFacts{"urn:uuid:" + Dotted(ip), "cam", "", "", {}};
    return device;
  };
  std::vector<FoundDevice> devices{Device(1, Ip(10, 77, 0, 12)),
                                   Device(2, Ip(10, 77, 0, 13))};
  MergeOnvif({onvif(MacOf(1), Ip(10, 77, 0, 99)),
              onvif(std::nullopt, Ip(10, 77, 0, 12)),
              onvif(MacOf(0x53), Ip(10, 77, 0, 13))},
             &devices);
  SortAndMarkConflicts(&devices);
  const struct {
    std::string mac, ip;
    HeardBy heardBy;
    bool conflict;
  } EXPECTED[] = {
      {"", "10.77.0.12", HeardBy::Onvif, true},
      {"02:00:5E:C1:00:01", "10.77.0.12", HeardBy::Both, true},
      {"02:00:5E:C1:00:02", "10.77.0.13", HeardBy::Quellan, true},
      {"02:00:5E:C1:00:53", "10.77.0.13", HeardBy::Onvif, true},
  };
  ASSERT_EQ(devices.size(), std::size(EXPECTED));
  for (std::size_t i = 0; i < devices.size(); ++i) {
    EXPECT_EQ(MacString(devices[i]), EXPECTED[i].mac) << i;
    EXPECT_EQ(Dotted(devices[i].settings.ipAddress), EXPECTED[i].ip) << i;
    EXPECT_EQ(devices[i].heardBy, EXPECTED[i].heardBy) << i;
    EXPECT_EQ(devices[i].conflict, EXPECTED[i].conflict) << i;
  }
  // The merged row keeps our settings and gains the ONVIF answer.
  EXPECT_EQ(devices[1].onvif->endpoint, "urn:uuid:10.77.0.99");
}

}  // namespace
}  // namespace cli
