// The IP change without a network: which rows, which addresses, what the
// single change writes, and the paced pass, over a link that records what
// would leave.
#include "core/devices/multi_change.h"

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

constexpr std::uint32_t NET = 0x0A4D0000u;  // 10.77.0.0

IpSettings Settings(std::uint32_t startIp, std::uint32_t mask,
                    std::uint32_t gateway = NET + 1) {
  IpSettings settings;
  settings.ipMode = IP_MODE_FIXED;
  settings.ipAddress = startIp;
  settings.subnetMask = mask;
  settings.gateway = gateway;
  settings.basePort = 3000;
  settings.httpPort = 8080;
  return settings;
}

// Records every event in order; `opens` false plays an engine that cannot
// start (the port is taken), `adapters` 0 a request that leaves through no
// adapter (a firewall drops it).
class FakeLink : public ChangeLink {
 public:
  explicit FakeLink(bool opens = true, int adapters = 2)
      : opens_(opens), adapters_(adapters) {}
  bool Open() override {
    Note("open");
    return opens_;
  }
  int Send(const DeviceInfo& body) override {
    Note("send " + std::to_string(body.macAddress[5]));
    std::lock_guard<std::mutex> hold(lock_);
    sent_.push_back(body);
    return adapters_;
  }
  void Close() override { Note("close"); }
  void Note(const std::string& event) {
    std::lock_guard<std::mutex> hold(lock_);
    events_.push_back(event);
  }
  std::vector<std::string> Events() {
    std::lock_guard<std::mutex> hold(lock_);
    return events_;
  }
  std::vector<DeviceInfo> Sent() {
    std::lock_guard<std::mutex> hold(lock_);
    return sent_;
  }

 private:
  const bool opens_;
  const int adapters_;
  std::mutex lock_;
  std::vector<std::string> events_;
  std::vector<DeviceInfo> sent_;
};

TEST(MultiChange, EachCheckedRowGetsTheNextFreeAddressAndTheSettings) {
  // The unchecked row shows .12 and the gateway is .14: both are skipped.
  std::vector<DeviceRow> rows = {Row(NET + 12, false, 1),
                                 Row(NET + 40, true, 2), Row(NET + 41, true, 3),
                                 Row(NET + 42, true, 4)};
  MultiChangePlan plan;
  std::wstring message;
  ASSERT_TRUE(PlanMultiChange(rows, Settings(NET + 11, 0xFFFFFF00u, NET + 14),
                              {}, &plan, &message));
  ASSERT_EQ(plan.changes.size(), 3u);
  for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(plan.changes[k].row, k + 1);
  EXPECT_EQ(plan.changes[0].body.ipAddress, NET + 11);
  EXPECT_EQ(plan.changes[1].body.ipAddress, NET + 13);
  EXPECT_EQ(plan.changes[2].body.ipAddress, NET + 15);
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(plan.changes[k].body.subnetMask, 0xFFFFFF00u);
    EXPECT_EQ(plan.changes[k].body.gateway, NET + 14);
    EXPECT_EQ(plan.changes[k].body.basePort, 3000);
    EXPECT_EQ(plan.changes[k].body.httpPort, 8080);
    EXPECT_EQ(plan.changes[k].body.macAddress[5], k + 2)
        << "MAC of its own row";
    EXPECT_EQ(plan.changes[k].body.reserved2[0], 0xEE) << "reserved bytes kept";
  }
}

TEST(MultiChange, TheGatewaysAddressIsNeverHandedOut) {
  // Start .250, gateway .251, three devices: .250, .252, .253.
  std::vector<DeviceRow> rows = {Row(NET + 40, true, 1), Row(NET + 41, true, 2),
                                 Row(NET + 42, true, 3)};
  MultiChangePlan plan;
  std::wstring message;
  ASSERT_TRUE(PlanMultiChange(rows, Settings(NET + 250, 0xFFFFFF00u, NET + 251),
                              {}, &plan, &message));
  ASSERT_EQ(plan.changes.size(), 3u);
  EXPECT_EQ(plan.changes[0].body.ipAddress, NET + 250);
  EXPECT_EQ(plan.changes[1].body.ipAddress, NET + 252);
  EXPECT_EQ(plan.changes[2].body.ipAddress, NET + 253);
  // Four devices: .254 is the last free one, the gateway counts as taken.
  rows.push_back(Row(NET + 43, true, 4));
  rows.push_back(Row(NET + 44, true, 5));
  EXPECT_FALSE(PlanMultiChange(
      rows, Settings(NET + 250, 0xFFFFFF00u, NET + 251), {}, &plan, &message));
  EXPECT_EQ(message.rfind(L"There are not enough free addresses in the subnet "
                          L"for 5 devices.",
                          0),
            0u);
}

TEST(MultiChange, AnUnpickedModeKeepsEachDevicesOwnMode) {
  std::vector<DeviceRow> rows = {Row(NET + 40, true, 1),
                                 Row(NET + 41, true, 2)};
  rows[0].record.ipMode = 3;
  rows[1].record.ipMode = IP_MODE_DHCP;
  IpSettings settings = Settings(NET + 50, 0xFFFFFF00u);
  settings.ipMode = -1;
  MultiChangePlan plan;
  std::wstring message;
  ASSERT_TRUE(PlanMultiChange(rows, settings, {}, &plan, &message));
  EXPECT_EQ(plan.changes[0].body.ipMode, 3);
  EXPECT_EQ(plan.changes[1].body.ipMode, IP_MODE_DHCP);
  settings.ipMode = IP_MODE_PPPOE;
  EXPECT_EQ(SettingsForDevice(settings, rows[0].record).ipMode, IP_MODE_PPPOE);
}

TEST(MultiChange, RefusedSettingsPlanNothing) {
  struct Case {
    std::uint32_t start, mask;
    const wchar_t* starts;
  } cases[] = {
      {0, 0xFFFFFF00u, L"You entered an invalid parameter."},
      {NET, 0xFFFFFF00u, L"The combination of IP address"},
      // .253 and .254 are free, the third device finds no room.
      {NET + 253, 0xFFFFFF00u,
       L"There are not enough free addresses in the subnet for 3 devices."},
  };
  for (const Case& c : cases) {
    std::vector<DeviceRow> rows = {
        Row(NET + 40, true, 1), Row(NET + 41, true, 2), Row(NET + 42, true, 3)};
    MultiChangePlan plan;
    std::wstring message;
    EXPECT_FALSE(
        PlanMultiChange(rows, Settings(c.start, c.mask), {}, &plan, &message));
    EXPECT_TRUE(plan.changes.empty());
    EXPECT_EQ(message.rfind(c.starts, 0), 0u)
        << std::string(message.begin(), message.end());
  }
}

TEST(MultiChange, NoTargetIsGivenAnAddressAnotherCheckedRowStillShows) {
  // .51 belongs to the second target, which has not moved yet; this
  // computer has .52.
  std::vector<DeviceRow> rows = {Row(NET + 50, true, 1),
                                 Row(NET + 51, true, 2)};
  MultiChangePlan plan;
  std::wstring message;
  ASSERT_TRUE(PlanMultiChange(rows, Settings(NET + 51, 0xFFFFFF00u), {NET + 52},
                              &plan, &message));
  EXPECT_EQ(plan.changes[0].body.ipAddress, NET + 53);
  EXPECT_EQ(plan.changes[1].body.ipAddress, NET + 54);
}

// A device may keep its own address, unless the new mask or gateway makes it
// the subnet's broadcast address or the gateway.
TEST(MultiChange, NoDeviceKeepsAnAddressItsNewSettingsReserve) {
  // The first device is the new gateway's .1 under a /24 it already has.
  std::vector<DeviceRow> rows = {Row(NET + 1, true, 1), Row(NET + 40, true, 2)};
  rows[0].record.subnetMask = 0xFFFFFF00u;
  rows[0].record.gateway = NET + 254;
  MultiChangePlan plan;
  std::wstring message;
  ASSERT_TRUE(PlanMultiChange(rows, Settings(NET + 1, 0xFFFFFF00u, NET + 1), {},
                              &plan, &message));
  EXPECT_EQ(plan.changes[0].body.ipAddress, NET + 2);
  EXPECT_EQ(plan.changes[1].body.ipAddress, NET + 3);

  // The second device's .127 is the broadcast address of the new /25, the
  // last one after the first device's .126.
  rows = {Row(NET + 40, true, 1), Row(NET + 127, true, 2)};
  rows[1].record.subnetMask = 0xFFFFFF00u;
  rows[1].record.gateway = NET + 1;
  EXPECT_FALSE(PlanMultiChange(rows, Settings(NET + 126, 0xFFFFFF80u), {},
                               &plan, &message));
  EXPECT_EQ(message.rfind(L"There are not enough free addresses in the subnet "
                          L"for 2 devices.",
                          0),
            0u);
}

TEST(SingleChange, TheRecordTakesTheSettingsOnlyWhenTheRequestLeft) {
  DeviceInfo record = Row(NET + 40, false, 7).record;
  const DeviceInfo before = record;
  IpSettings settings = Settings(NET + 60, 0xFFFFFF00u);

  FakeLink closed(false);
  EXPECT_EQ(ChangeOneDevice(record, settings, closed),
            ChangeResult::LinkFailed);
  FakeLink nowhere(true, 0);
  EXPECT_EQ(ChangeOneDevice(record, settings, nowhere), ChangeResult::NotSent);
  EXPECT_EQ(nowhere.Events(),
            (std::vector<std::string>{"open", "send 7", "close"}));
  EXPECT_EQ(record, before) << "nothing left, so the record is the device's";

  FakeLink link;
  ASSERT_EQ(ChangeOneDevice(record, settings, link), ChangeResult::Sent);
  EXPECT_EQ(record.ipAddress, NET + 60);
  EXPECT_EQ(link.Sent()[0], record) << "the body sent is the record now";

  // A step of the multi change likewise.
  DeviceTable table;
  PendingReply reply;
  reply.info = before;
  ASSERT_EQ(table.Add(reply), Intake::Added);
  MultiChangePlan plan;
  plan.changes = {{0, record}};
  CommitStep(plan, 1, 0, table);
  EXPECT_EQ(table.Row(0).record, before);
  CommitStep(plan, 1, 2, table);
  EXPECT_EQ(table.Row(0).record, record);
}

TEST(ChangePass, SendsEachBodyThenReportsItInOrderAndClosesTheLink) {
  std::vector<DeviceInfo> bodies(5);
  for (std::size_t i = 0; i < bodies.size(); ++i)
    bodies[i].macAddress[5] = static_cast<std::uint8_t>(i);
  FakeLink link;
  const auto start = std::chrono::steady_clock::now();
  std::chrono::steady_clock::duration lastStep{};
  {
    ChangePass pass(link, bodies);
    ASSERT_TRUE(pass.Start([&](int done, int adapters) {
      link.Note("step " + std::to_string(done) + " through " +
                std::to_string(adapters));
      lastStep = std::chrono::steady_clock::now() - start;
    }));
    pass.Join();
  }
  EXPECT_EQ(link.Events(),
            (std::vector<std::string>{
                "open", "send 0", "step 1 through 2", "send 1",
                "step 2 through 2", "send 2", "step 3 through 2", "send 3",
                "step 4 through 2", "send 4", "step 5 through 2", "close"}));
  // The first pause and four step pauses come before the fifth step.
  EXPECT_GE(lastStep, 1200ms);
}

TEST(ChangePass, ALinkThatDoesNotOpenSendsAndReportsNothing) {
  FakeLink link(false);
  int steps = 0;
  {
    ChangePass pass(link, std::vector<DeviceInfo>(3));
    EXPECT_FALSE(pass.Start([&](int, int) { ++steps; }));
    EXPECT_FALSE(pass.Running());
  }
  EXPECT_EQ(link.Events(), (std::vector<std::string>{"open"}));
  EXPECT_EQ(steps, 0);
}

TEST(ChangePass, EndingItEarlySendsNothingMore) {
  FakeLink link;
  {
    ChangePass pass(link, std::vector<DeviceInfo>(100));
    ASSERT_TRUE(pass.Start(nullptr));
  }
  EXPECT_EQ(link.Events(), (std::vector<std::string>{"open", "close"}));
}

}  // namespace
