// ONVIF answers as rows of the one table: the address a device is listed
// at, where its MAC comes from, and how its rows join ours.
#include "cli/network/onvif_devices.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "cli/device/onvif_holders.h"
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
  const std::optional<Mac> none;
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
      {"no XAddr host to match the source",
       {Answer("a", {}, cam)},
       {{cam, neighbour, 2}},
       {std::nullopt}},
      // Two LANs on one subnet behind interfaces 2 and 3: only the entry
      // of the link that heard the answer counts.
      {"the entry is another interface's",
       {Answer("a", {At(cam)}, cam, 2)},
       {{cam, neighbour, 3}},
       {none}},
      {"each link's own entry",
       {Answer("a", {At(cam)}, cam, 2), Answer("b", {At(cam)}, cam, 3)},
       {{cam, MacOf(0xA2), 2}, {cam, MacOf(0xA3), 3}},
       {MacOf(0xA2), MacOf(0xA3)}},
      {"two devices on one address share the entry: neither gets it",
       {Answer("a", {At(cam)}, cam), Answer("b", {At(cam)}, cam),
        scopedAnswer(Answer("c", {At(cam)}, cam))},
       {{cam, neighbour, 2}},
       {std::nullopt, std::nullopt, scoped}},
  };
  for (const auto& c : CASES) {
    const auto rows = OnvifDevices(c.answers, LOCAL, c.table);
    ASSERT_EQ(rows.size(), c.macs.size()) << c.what;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const FoundDevice& device = rows[i].device;
      EXPECT_EQ(device.mac, c.macs[i]) << c.what << ", row " << i;
      // A MAC the reply does not state is shown as the guess it is.
      const bool stated = device.mac == scoped;
      EXPECT_EQ(MacSourceWord(device),
                device.mac
                    ? std::optional<std::string>(stated ? "scope" : "neighbour")
                    : std::nullopt)
          << c.what;
      // Identity never rests on the neighbour table.
      EXPECT_EQ(Identity(device),
                stated ? MacString(scoped) : c.answers[i].match.endpoint)
          << c.what;
    }
  }
}

TEST(OnvifDevices, OneRowPerIdentity) {
  auto scoped = [](OnvifAnswer answer, std::uint8_t last) {
    answer.match.about.mac = MacOf(last);
    return answer;
  };
  const std::uint32_t other = Ip(10, 78, 0, 2);
  const struct {
    const char* what;
    std::vector<OnvifAnswer> answers;
    std::vector<std::string> identities;
    std::vector<std::vector<std::uint32_t>> interfaces;
  } CASES[] = {
      {"one endpoint heard twice and on two interfaces",
       {Answer("a", {}, SOURCE, 2), Answer("b", {}, SOURCE, 2),
        Answer("a", {}, SOURCE, 2), Answer("a", {}, other, 3)},
       {"a", "b"},
       {{2, 3}, {2}}},
      {"one endpoint, two stated MACs: two devices",
       {scoped(Answer("a", {}), 1), scoped(Answer("a", {}, other, 3), 2)},
       {"02:00:5E:C1:00:01", "02:00:5E:C1:00:02"},
       {{2}, {3}}},
      {"one stated MAC under two endpoints: one device",
       {scoped(Answer("a", {}), 1), scoped(Answer("b", {}), 1)},
       {"02:00:5E:C1:00:01"},
       {{2}}},
      {"no endpoint: by the address and interface answered from",
       {Answer("", {}, SOURCE, 2), Answer("", {}, other, 2),
        Answer("", {}, SOURCE, 2), Answer("", {}, SOURCE, 3)},
       {"from 10.77.0.2 on interface 2", "from 10.78.0.2 on interface 2",
        "from 10.77.0.2 on interface 3"},
       {{2}, {2}, {3}}},
  };
  for (const auto& c : CASES) {
    const auto rows = OnvifDevices(c.answers, LOCAL, {});
    ASSERT_EQ(rows.size(), c.identities.size()) << c.what;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(Identity(rows[i].device), c.identities[i]) << c.what;
      EXPECT_EQ(rows[i].interfaces, c.interfaces[i]) << c.what;
    }
  }
}

TEST(OnvifDevices, MergedByMacNeverByAddressAndHoldingTheirAddresses) {
  // Ours: 01 on .12, 02 on .13, 03 on .14. ONVIF: 01 again (listed at
  // another address), a camera without a MAC on .12, one with its own MAC
  // on .13, and one on .14 that the neighbour table names 03.
  auto onvif = [](std::optional<Mac> mac, std::uint32_t ip,
                  MacSource source = MacSource::Scope) {
    FoundDevice device = Device(0, ip);
    device.mac = mac;
    device.macSource = source;
    device.heardBy = HeardBy::Onvif;
    device.onvif = OnvifFacts{"urn:uuid:" + Dotted(ip), "cam", "", "", {}, ip};
    return device;
  };
  std::vector<FoundDevice> devices{Device(1, Ip(10, 77, 0, 12)),
                                   Device(2, Ip(10, 77, 0, 13)),
                                   Device(3, Ip(10, 77, 0, 14))};
  MergeOnvif({onvif(MacOf(1), Ip(10, 77, 0, 99)),
              onvif(std::nullopt, Ip(10, 77, 0, 12)),
              onvif(MacOf(0x53), Ip(10, 77, 0, 13)),
              onvif(MacOf(3), Ip(10, 77, 0, 14), MacSource::Neighbour)},
             &devices);
  SortAndMarkConflicts(&devices);
  const struct {
    std::string mac, ip;
    HeardBy heardBy;
    bool conflict;
    std::optional<std::string> macSource;
  } EXPECTED[] = {
      {"", "10.77.0.12", HeardBy::Onvif, true, std::nullopt},
      {"02:00:5E:C1:00:01", "10.77.0.12", HeardBy::Both, true, "reply"},
      {"02:00:5E:C1:00:02", "10.77.0.13", HeardBy::Quellan, true, "reply"},
      {"02:00:5E:C1:00:53", "10.77.0.13", HeardBy::Onvif, true, "scope"},
      // One row, but the output says what it rests on.
      {"02:00:5E:C1:00:03", "10.77.0.14", HeardBy::Both, false, "neighbour"},
  };
  ASSERT_EQ(devices.size(), std::size(EXPECTED));
  for (std::size_t i = 0; i < devices.size(); ++i) {
    EXPECT_EQ(MacString(devices[i]), EXPECTED[i].mac) << i;
    EXPECT_EQ(Dotted(devices[i].settings.ipAddress), EXPECTED[i].ip) << i;
    EXPECT_EQ(devices[i].heardBy, EXPECTED[i].heardBy) << i;
    EXPECT_EQ(devices[i].conflict, EXPECTED[i].conflict) << i;
    EXPECT_EQ(MacSourceWord(devices[i]), EXPECTED[i].macSource) << i;
  }
  // The merged row keeps our settings and gains the ONVIF answer.
  EXPECT_EQ(devices[1].onvif->endpoint, "urn:uuid:10.77.0.99");

  // Every answer holds the address it lists, merged or not.
  const struct {
    std::uint32_t address;
    OnvifTie tie;
    std::optional<Mac> ours;
    std::string label;
  } HOLDERS[] = {
      {Ip(10, 77, 0, 12), OnvifTie::Alone, std::nullopt,
       "cam (urn:uuid:10.77.0.12, 10.77.0.12)"},
      {Ip(10, 77, 0, 99), OnvifTie::StatedMac, MacOf(1),
       "cam (urn:uuid:10.77.0.99, 10.77.0.99)"},
      {Ip(10, 77, 0, 13), OnvifTie::Alone, std::nullopt,
       "cam (urn:uuid:10.77.0.13, 10.77.0.13)"},
      {Ip(10, 77, 0, 14), OnvifTie::NeighbourMac, MacOf(3),
       "cam (urn:uuid:10.77.0.14, 10.77.0.14)"},
  };
  const std::vector<OnvifHolder> holders = OnvifHolders(devices);
  ASSERT_EQ(holders.size(), std::size(HOLDERS));
  for (std::size_t i = 0; i < holders.size(); ++i) {
    // Messages name our devices by MAC, an ONVIF-only one by its answer.
    EXPECT_EQ(DeviceLabel(devices[i]),
              i == 0 ? HOLDERS[0].label : MacString(devices[i]))
        << i;
    EXPECT_EQ(holders[i].address, HOLDERS[i].address) << i;
    EXPECT_EQ(holders[i].domain, 2u) << i;
    EXPECT_EQ(holders[i].tie, HOLDERS[i].tie) << i;
    EXPECT_EQ(holders[i].ours, HOLDERS[i].ours) << i;
    EXPECT_EQ(holders[i].label, HOLDERS[i].label) << i;
  }
}

}  // namespace
}  // namespace cli
