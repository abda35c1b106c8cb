#include "cli/commands/watch_diff.h"

#include <gtest/gtest.h>

#include "cli/device/device_fields.h"
#include "tests/cli/cli_test_devices.h"

namespace cli {
namespace {

// Two cards on one LAN (interfaces 2 and 3) and one on another VLAN (4).
const std::vector<LocalAdapter> ADAPTERS = {{Ip(10, 78, 0, 1), MASK24, 3},
                                            {Ip(10, 77, 0, 1), MASK24, 2},
                                            {Ip(10, 79, 0, 1), MASK24, 4}};

// One search's devices, each heard on the interfaces given.
struct Search {
  std::vector<FoundDevice> devices;
  BroadcastDomains domains;
};
Search Heard(const std::vector<std::pair<FoundDevice, std::vector<int>>>& on) {
  IngressRecord heard;
  std::vector<DeviceRow> rows;
  for (const auto& [device, interfaces] : on) {
    for (int index : interfaces)
      heard.Heard(*device.mac, static_cast<std::uint32_t>(index));
    rows.push_back(RowOf(device));
  }
  Search search;
  search.domains = BroadcastDomains(ADAPTERS, heard);
  search.devices = FoundDevices(rows, search.domains, heard);
  return search;
}

std::string Lines(const std::vector<WatchEvent>& events) {
  std::string lines;
  for (const WatchEvent& event : events)
    lines += WatchEventText("12:00:00", event, DeviceColumns::Ours) + "\n";
  return lines;
}

std::vector<WatchEvent> Update(WatchState& state, const Search& search) {
  return state.Update(search.devices, search.domains);
}

TEST(WatchDiff, NewChangedAndGoneAfterTwoMisses) {
  WatchState state;
  FoundDevice a = Device(1, Ip(10, 77, 0, 11));
  a.model = "CAM-A";
  FoundDevice b = Device(2, Ip(10, 77, 0, 12));
  EXPECT_EQ(WatchTableHeader(DeviceColumns::Ours),
            "Time      Event    MAC address        IP address       Model      "
            "       Change");
  // a joins the two cards of the LAN.
  EXPECT_EQ(Lines(Update(state, Heard({{a, {2, 3}}, {b, {2}}}))),
            "12:00:00  new      02:00:5E:C1:00:01  10.77.0.11       CAM-A\n"
            "12:00:00  new      02:00:5E:C1:00:02  10.77.0.12\n");
  EXPECT_EQ(Lines(Update(state, Heard({{a, {2}}, {b, {2}}}))), "");

  FoundDevice moved = b;
  moved.settings.ipAddress = Ip(10, 78, 0, 50);
  moved.settings.httpPort = 8080;
  moved.model = "CAM-B";
  const std::vector<WatchEvent> changed =
      Update(state, Heard({{a, {2}}, {moved, {2}}}));
  ASSERT_EQ(changed.size(), 1u);
  // Its domain is the LAN of both cards, whose second card reaches it now.
  FoundDevice shown = moved;
  shown.place = {2, Ip(10, 77, 0, 1), Ip(10, 78, 0, 1)};
  EXPECT_EQ(WatchEventJson(changed[0], DeviceColumns::Ours),
            "{\"event\":\"changed\",\"mac\":\"02:00:5E:C1:00:02\",\"device\":" +
                DeviceJson(shown, DeviceColumns::Ours) +
                ",\"changed\":[\"ip\",\"http_port\",\"model\","
                "\"reachable_from\"],"
                "\"old\":{\"ip\":\"10.77.0.12\",\"http_port\":80,"
                "\"model\":\"\",\"reachable_from\":\"10.77.0.1\"},"
                "\"new\":{\"ip\":\"10.78.0.50\",\"http_port\":8080,"
                "\"model\":\"CAM-B\",\"reachable_from\":\"10.78.0.1\"}}");
  EXPECT_EQ(Lines(changed),
            "12:00:00  changed  02:00:5E:C1:00:02  10.78.0.50       CAM-B     "
            "        ip 10.77.0.12 -> 10.78.0.50, http_port 80 -> 8080, model "
            "none -> CAM-B, reachable_from 10.77.0.1 -> 10.78.0.1\n");

  // A first miss is forgiven: the reply may have been lost.
  EXPECT_EQ(Lines(Update(state, Heard({{moved, {2}}}))), "");
  EXPECT_EQ(Lines(Update(state, Heard({{moved, {2}}}))),
            "12:00:00  gone     02:00:5E:C1:00:01  10.77.0.11       CAM-A\n");
  EXPECT_EQ(Lines(Update(state, Heard({{moved, {2}}}))), "");
  const Search back = Heard({{a, {2}}, {moved, {2}}});
  EXPECT_EQ(WatchEventJson(Update(state, back)[0], DeviceColumns::Ours),
            "{\"event\":\"new\",\"mac\":\"02:00:5E:C1:00:01\",\"device\":" +
                DeviceJson(back.devices[0], DeviceColumns::Ours) + "}");
}

TEST(WatchDiff, AConflictBeginsAndEnds) {
  WatchState state;
  const FoundDevice a = Device(1, Ip(10, 77, 0, 11));
  FoundDevice b = Device(2, Ip(10, 77, 0, 12));
  Update(state, Heard({{a, {2}}, {b, {2}}}));
  b.settings.ipAddress = a.settings.ipAddress;
  const std::vector<WatchEvent> began =
      Update(state, Heard({{a, {2}}, {b, {2}}}));
  ASSERT_EQ(began.size(), 2u);
  EXPECT_EQ(Lines({began[0]}),
            "12:00:00  changed  02:00:5E:C1:00:01  10.77.0.11                 "
            "        conflict began\n");
  EXPECT_NE(WatchEventJson(began[1], DeviceColumns::Ours)
                .find("\"changed\":[\"ip\",\"conflict\"],\"old\":{\"ip\":"
                      "\"10.77.0.12\",\"conflict\":false},\"new\":{\"ip\":"
                      "\"10.77.0.11\",\"conflict\":true}}"),
            std::string::npos)
      << WatchEventJson(began[1], DeviceColumns::Ours);
  b.settings.ipAddress = Ip(10, 77, 0, 13);
  const std::vector<WatchEvent> ended =
      Update(state, Heard({{a, {2}}, {b, {2}}}));
  ASSERT_EQ(ended.size(), 2u);
  EXPECT_EQ(ended[0].changed, std::vector<std::string>{"conflict"});
  EXPECT_NE(Lines({ended[0]}).find("conflict ended"), std::string::npos);
  EXPECT_NE(
      WatchEventJson(ended[0], DeviceColumns::Ours)
          .find("\"old\":{\"conflict\":true},\"new\":{\"conflict\":false}"),
      std::string::npos);
}

// Heard through both cards of its LAN, then (one copy of the reply lost)
// through one only, in a search where no device joins the two: the domains
// of every search count, so nothing changes. Re-plugged into another VLAN,
// it changes its adapter.
TEST(WatchDiff, DomainsAreUnitedAcrossSearches) {
  const FoundDevice a = Device(1, Ip(10, 77, 0, 11));
  WatchState state;
  const std::vector<WatchEvent> first = Update(state, Heard({{a, {3, 2}}}));
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].device.place.adapter, Ip(10, 77, 0, 1));
  EXPECT_EQ(first[0].device.place.reachableFrom, Ip(10, 77, 0, 1));
  EXPECT_EQ(Lines(Update(state, Heard({{a, {3}}}))), "");
  EXPECT_EQ(Lines(Update(state, Heard({{a, {2}}}))), "");

  const std::vector<WatchEvent> moved = Update(state, Heard({{a, {4}}}));
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(moved[0].changed,
            (std::vector<std::string>{"reachable_from", "adapter"}));
  EXPECT_NE(
      WatchEventJson(moved[0], DeviceColumns::Ours)
          .find("\"old\":{\"reachable_from\":\"10.77.0.1\",\"adapter\":"
                "\"10.77.0.1\"},\"new\":{\"reachable_from\":null,\"adapter\":"
                "\"10.79.0.1\"}"),
      std::string::npos);
}

// A device that misses a search still holds its address until it is gone:
// the conflict with it ends in the same search as its "gone".
TEST(WatchDiff, AConflictEndsWithTheGoneThatEndsIt) {
  WatchState state;
  const FoundDevice a = Device(1, Ip(10, 77, 0, 11));
  const FoundDevice b = Device(2, Ip(10, 77, 0, 11));
  Update(state, Heard({{a, {2}}, {b, {2}}}));
  EXPECT_EQ(Lines(Update(state, Heard({{a, {2}}}))), "");
  EXPECT_EQ(Lines(Update(state, Heard({{a, {2}}}))),
            "12:00:00  changed  02:00:5E:C1:00:01  10.77.0.11                 "
            "        conflict ended\n"
            "12:00:00  gone     02:00:5E:C1:00:02  10.77.0.11\n");
}

// A device that ONVIF names without a MAC: null as the event's MAC, as in
// its device object, and its name in the table.
TEST(WatchDiff, OnvifDevicesWithoutAMacAreShownByName) {
  FoundDevice camera;
  camera.heardBy = HeardBy::Onvif;
  camera.settings.ipAddress = Ip(10, 77, 0, 12);
  camera.model = "IPC-B520";
  camera.onvif = OnvifFacts{"urn:uuid:1", "Tor 1 S\u00FCd", "IPC-B520", "", {}};
  camera.place = {2, Ip(10, 77, 0, 1), Ip(10, 77, 0, 1)};
  const WatchEvent event{WatchEvent::Kind::New, camera, {}, {}};
  EXPECT_EQ(
      WatchEventJson(event, DeviceColumns::WithOnvif)
          .rfind("{\"event\":\"new\",\"mac\":null,\"device\":{\"mac\":null,",
                 0),
      0u);
  EXPECT_EQ(WatchTableHeader(DeviceColumns::WithOnvif),
            "Time      Event    MAC address        IP address       Model      "
            "       Name              Change");
  EXPECT_EQ(WatchEventText("12:00:00", event, DeviceColumns::WithOnvif),
            "12:00:00  new                         10.77.0.12       IPC-B520   "
            "       Tor 1 S\u00FCd");
}

}  // namespace
}  // namespace cli
