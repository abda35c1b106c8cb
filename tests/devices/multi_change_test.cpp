// The multi-device change: which rows, which addresses, and the pass.
#include "devices/multi_change.h"

#include <gtest/gtest.h>

#include <mutex>

namespace {

using namespace std::chrono_literals;

DeviceRow Row(std::uint32_t ip, bool checked, std::uint8_t id) {
  DeviceRow row;
  row.record.ipAddress = ip;
  row.record.macAddress[5] = id;
  row.record.reserved2[0] = 0xEE;
  row.checked = checked;
  return row;
}

IpSettings Settings(std::uint32_t startIp, std::uint32_t mask) {
  IpSettings settings;
  settings.ipMode = IP_MODE_FIXED;
  settings.ipAddress = NumericToNetwork(startIp);
  settings.subnetMask = NumericToNetwork(mask);
  settings.gateway = NumericToNetwork(0x0A4D0001u);
  settings.basePort = 3000;
  settings.httpPort = 8080;
  return settings;
}

constexpr std::uint32_t kNet = 0x0A4D0000u;  // 10.77.0.0

TEST(MultiChange, TargetsAreTheCheckedRowsTopToBottom) {
  const std::vector<DeviceRow> rows = {
      Row(kNet + 5, false, 1), Row(kNet + 6, true, 2), Row(kNet + 7, true, 3)};
  const MultiChangeTargets targets = FindMultiChangeTargets(rows);
  EXPECT_EQ(targets.rows, (std::vector<std::size_t>{1, 2}));
  EXPECT_EQ(targets.others, (std::vector<std::uint32_t>{kNet + 5}));
}

TEST(MultiChange, EachTargetGetsTheNextFreeAddressAndTheSettings) {
  // The unchecked row shows .12, which is skipped.
  std::vector<DeviceRow> rows = {
      Row(kNet + 12, false, 1), Row(kNet + 40, true, 2),
      Row(kNet + 41, true, 3), Row(kNet + 42, true, 4)};
  std::wstring message;
  std::vector<DeviceInfo> bodies;
  ASSERT_TRUE(PlanMultiChange(rows, FindMultiChangeTargets(rows),
                              Settings(kNet + 11, 0xFFFFFF00u), &bodies,
                              &message));
  ASSERT_EQ(bodies.size(), 3u);
  EXPECT_EQ(bodies[0].ipAddress, kNet + 11);
  EXPECT_EQ(bodies[1].ipAddress, kNet + 13);  // .12 is shown by another row
  EXPECT_EQ(bodies[2].ipAddress, kNet + 14);
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(bodies[k].subnetMask, 0xFFFFFF00u);
    EXPECT_EQ(bodies[k].gateway, 0x0A4D0001u);
    EXPECT_EQ(bodies[k].basePort, 3000);
    EXPECT_EQ(bodies[k].httpPort, 8080);
    EXPECT_EQ(bodies[k].macAddress[5], k + 2) << "MAC of its own row";
    EXPECT_EQ(bodies[k].reserved2[0], 0xEE) << "reserved bytes kept";
  }
}

TEST(MultiChange, AnUnpickedModeKeepsEachDevicesOwnMode) {
  std::vector<DeviceRow> rows = {Row(kNet + 40, true, 1),
                                 Row(kNet + 41, true, 2)};
  rows[0].record.ipMode = 3;
  rows[1].record.ipMode = IP_MODE_DHCP;
  IpSettings settings = Settings(kNet + 50, 0xFFFFFF00u);
  settings.ipMode = -1;
  std::wstring message;
  std::vector<DeviceInfo> bodies;
  ASSERT_TRUE(PlanMultiChange(rows, FindMultiChangeTargets(rows), settings,
                              &bodies, &message));
  EXPECT_EQ(bodies[0].ipMode, 3);
  EXPECT_EQ(bodies[1].ipMode, IP_MODE_DHCP);
  settings.ipMode = IP_MODE_PPPOE;
  EXPECT_EQ(SettingsForDevice(settings, rows[0].record).ipMode, IP_MODE_PPPOE);
}

TEST(MultiChange, RefusedSettingsPlanNothing) {
  struct Case {
    std::uint32_t start, mask;
    const wchar_t* starts;
  } cases[] = {
      {0, 0xFFFFFF00u, L"You entered an invalid parameter."},
      {kNet, 0xFFFFFF00u, L"The combination of IP address"},
      // .253 and .254 are free, the third device finds no room.
      {kNet + 253, 0xFFFFFF00u,
       L"There are not enough free addresses in the subnet for 3 devices."},
  };
  for (const Case& c : cases) {
    std::vector<DeviceRow> rows = {Row(kNet + 40, true, 1),
                                   Row(kNet + 41, true, 2),
                                   Row(kNet + 42, true, 3)};
    std::wstring message;
    std::vector<DeviceInfo> bodies;
    EXPECT_FALSE(PlanMultiChange(rows, FindMultiChangeTargets(rows),
                                 Settings(c.start, c.mask), &bodies, &message));
    EXPECT_TRUE(bodies.empty());
    EXPECT_EQ(message.rfind(c.starts, 0), 0u)
        << std::string(message.begin(), message.end());
  }
}

TEST(MultiChangePass, SendsEachBodyThenReportsItInOrder) {
  std::vector<DeviceInfo> bodies(5);
  for (std::size_t i = 0; i < bodies.size(); ++i)
    bodies[i].macAddress[5] = static_cast<std::uint8_t>(i);
  std::mutex lock;
  std::vector<std::string> events;
  std::atomic<bool> finished{false};
  const auto start = std::chrono::steady_clock::now();
  std::chrono::steady_clock::duration lastStep{};
  {
    MultiChangePass pass(
        bodies,
        [&](const DeviceInfo& body) {
          std::lock_guard<std::mutex> hold(lock);
          events.push_back("send " + std::to_string(body.macAddress[5]));
        },
        [&](int done) {
          std::lock_guard<std::mutex> hold(lock);
          events.push_back("step " + std::to_string(done));
          lastStep = std::chrono::steady_clock::now() - start;
        },
        [&] { finished = true; });
    pass.Start();
    while (pass.Running()) std::this_thread::sleep_for(10ms);
  }
  EXPECT_TRUE(finished);
  EXPECT_EQ(events, (std::vector<std::string>{
                        "send 0", "step 1", "send 1", "step 2", "send 2",
                        "step 3", "send 3", "step 4", "send 4", "step 5"}));
  // The first pause and four step pauses come before the fifth step.
  EXPECT_GE(lastStep, 1200ms);
}

TEST(MultiChangePass, EndingItEarlySendsNothingMore) {
  std::atomic<int> sent{0};
  {
    MultiChangePass pass(
        std::vector<DeviceInfo>(100), [&](const DeviceInfo&) { ++sent; },
        [](int) {}, nullptr);
    pass.Start();
  }
  EXPECT_EQ(sent.load(), 0);
}

}  // namespace
