#include "cli/watch_diff.h"

#include <gtest/gtest.h>

#include "tests/cli/cli_test_devices.h"

namespace cli {
namespace {

std::string Lines(const std::vector<WatchEvent>& events) {
  std::string lines;
  for (const WatchEvent& event : events) lines += WatchEventText(event) + "\n";
  return lines;
}

TEST(WatchDiff, NewChangedAndGoneAfterTwoMisses) {
  WatchState state;
  const FoundDevice a = Device(1, Ip(10, 77, 0, 11));
  FoundDevice b = Device(2, Ip(10, 77, 0, 12));
  EXPECT_EQ(Lines(state.Update({a, b})),
            "new  02:00:5E:C1:00:01  10.77.0.11\n"
            "new  02:00:5E:C1:00:02  10.77.0.12\n");
  EXPECT_EQ(Lines(state.Update({a, b})), "");

  b.info.ipAddress = Ip(10, 77, 0, 50);
  b.info.httpPort = 8080;
  b.model = "CAM-B";
  const std::vector<WatchEvent> changed = state.Update({a, b});
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(WatchEventJson(changed[0]),
            "{\"event\":\"changed\",\"mac\":\"02:00:5E:C1:00:02\",\"device\":" +
                DeviceJson(b) +
                ",\"changed\":[\"ip\",\"http_port\",\"model\"]}");

  // A first miss is forgiven: the reply may have been lost.
  EXPECT_EQ(Lines(state.Update({b})), "");
  EXPECT_EQ(Lines(state.Update({b})), "gone  02:00:5E:C1:00:01  10.77.0.11\n");
  EXPECT_EQ(Lines(state.Update({b})), "");
  EXPECT_EQ(WatchEventJson(state.Update({a, b})[0]),
            "{\"event\":\"new\",\"mac\":\"02:00:5E:C1:00:01\",\"device\":" +
                DeviceJson(a) + "}");
}

// Re-plugged into another VLAN, a device changes its adapter; heard through
// two cards of its own LAN, it keeps the lower one, search after search.
TEST(WatchDiff, AMoveToAnotherDomainIsAChange) {
  IngressRecord both, one;
  both.Heard(MacOf(1), 3);
  both.Heard(MacOf(1), 2);
  one.Heard(MacOf(1), 3);
  const std::vector<LocalAdapter> adapters = {{Ip(10, 78, 0, 1), MASK24, 3},
                                              {Ip(10, 77, 0, 1), MASK24, 2}};
  std::vector<DeviceRow> rows(1);
  rows[0].record = Device(1, Ip(10, 77, 0, 11)).info;
  WatchState state;
  state.Update(FoundDevices(rows, BroadcastDomains(adapters, both), both));
  EXPECT_EQ(Lines(state.Update(
                FoundDevices(rows, BroadcastDomains(adapters, both), both))),
            "");
  const std::vector<WatchEvent> moved =
      state.Update(FoundDevices(rows, BroadcastDomains(adapters, one), one));
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(moved[0].changed,
            (std::vector<std::string>{"reachable_from", "adapter"}));
}

}  // namespace
}  // namespace cli
