// The real search session: the engine hears the simulated devices across
// the test link, the receive thread queues the replies, the worker hands
// them to a stand-in owner thread that takes them in, and the test gives
// the ticks. Run under ThreadSanitizer too.
#include "core/devices/search_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "core/devices/change_link.h"
#include "core/engine/engine.h"
#include "tests/support/peer.h"
#include "tests/support/replies.h"
#include "tests/support/session_driver.h"

namespace {

using namespace std::chrono_literals;

constexpr std::size_t SIMULATED_DEVICES = 500;

TEST(SearchSession, FindsEverySimulatedDeviceSortedByIpText) {
  ASSERT_TRUE(OnIsolatedTestNetwork());
  SessionDriver search;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_EQ(search.Start(), SearchStart::Started);
    EXPECT_TRUE(search.Ticking());
    EXPECT_TRUE(search.WaitForRows(SIMULATED_DEVICES, 10s));
    search.End(10s);
    EXPECT_FALSE(DiscoveryRunning());
    EXPECT_FALSE(search.Ticking());
    EXPECT_EQ(search.Ends(), round + 1);
    const std::vector<DeviceRow> rows = search.Rows();
    EXPECT_EQ(rows.size(), SIMULATED_DEVICES) << "each device once";
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(),
                               [](const DeviceRow& a, const DeviceRow& b) {
                                 return a.texts[COLUMN_IP] < b.texts[COLUMN_IP];
                               }));
  }
}

TEST(SearchSession, TheOptionsRowCapBoundsTheTableAndTheRestAreCounted) {
  ASSERT_TRUE(OnIsolatedTestNetwork());
  SearchOptions options;
  options.rowCap = 100;
  SessionDriver search(options);
  ASSERT_EQ(search.Start(), SearchStart::Started);
  // Every device answers within the first second; each answers twice, once
  // per adapter.
  ASSERT_TRUE(search.WaitForRows(options.rowCap, 10s));
  std::this_thread::sleep_for(2s);
  search.End(10s);
  EXPECT_EQ(search.Rows().size(), options.rowCap);
  const TurnedAway away = search.TurnedAwayDevices();
  EXPECT_EQ(away.devices, SIMULATED_DEVICES - options.rowCap);
  EXPECT_EQ(away.count, TurnedAway::Count::Exact);
}

TEST(SearchSession, AReplyHeardOutsideTheSearchIsNeverListed) {
  ASSERT_TRUE(OnIsolatedTestNetwork());
  SessionDriver first;
  ASSERT_EQ(first.Start(), SearchStart::Started);
  ASSERT_TRUE(first.WaitForRows(1, 10s));
  first.End(10s);
  const DeviceRow device = first.Rows().front();

  // During a change the same device announces an address it no longer has;
  // the program hears its own broadcasts, so this reaches the engine too.
  {
    EngineChangeLink link;
    ASSERT_TRUE(link.Open());
    TestReply stale;
    std::copy(device.record.macAddress.begin(), device.record.macAddress.end(),
              stale.mac.begin());
    stale.ip = 0x0A4D00FEu;  // 10.77.0.254
    const std::vector<std::uint8_t> bytes = ReplyBuffer(stale);
    const net::Socket sender = net::OpenUdp();
    net::EnableBroadcast(sender);
    net::EnableAddressReuse(sender);
    ASSERT_TRUE(net::SendTo(sender, bytes.data(), 96,
                            {BROADCAST_ADDRESS, DISCOVERY_PORT}));
    std::this_thread::sleep_for(200ms);
    net::Close(sender);
  }

  SessionDriver next;
  ASSERT_EQ(next.Start(), SearchStart::Started);
  ASSERT_TRUE(next.WaitForRows(SIMULATED_DEVICES, 10s));
  next.End(10s);
  for (const DeviceRow& row : next.Rows()) {
    if (row.texts[COLUMN_MAC] == device.texts[COLUMN_MAC]) {
      EXPECT_EQ(row.texts[COLUMN_IP], device.texts[COLUMN_IP]);
    }
  }
}

TEST(SearchSession, TakesInBatchesInSlicesAndReportsTheFirstCollisionOnce) {
  ASSERT_TRUE(OnIsolatedTestNetwork());
  SessionDriver search;
  ASSERT_EQ(search.Start(), SearchStart::Started);
  std::vector<PendingReply> batch;
  for (std::uint8_t id = 1; id <= 4; ++id) {
    TestReply reply;
    reply.mac = {0x02, 0, 0, 0, 0, id};
    reply.ip = 0x0A000005u;  // one address for all four
    batch.push_back(Pending(reply));
  }
  for (std::uint8_t id = 5; id <= 250; ++id) {
    TestReply reply;
    reply.mac = {0x02, 0, 0, 0, 1, id};
    reply.ip = 0x0A000100u + id;
    batch.push_back(Pending(reply));
  }
  search.Deliver(batch);
  search.End(10s);
  // The second reply on 10.0.0.5 is dropped and reported; later ones list.
  EXPECT_EQ(search.Collisions(), 1);
  // The simulated devices answer meanwhile, from a subnet of their own.
  std::size_t ours = 0;
  for (const DeviceRow& row : search.Rows())
    ours += row.record.ipAddress >> 16 == 0x0A00u ? 1 : 0;
  EXPECT_EQ(ours, batch.size() - 1);
  EXPECT_EQ(search.Ends(), 1);
}

TEST(SearchSession, TheWindowIsCutIntoTicksOfAtMostASecond) {
  struct Case {
    int windowMs, ticks, periodMs;
  } cases[] = {{3000, 3, 1000}, {1500, 2, 750}, {500, 1, 500}, {2001, 3, 667}};
  for (const Case& c : cases) {
    DeviceTable table;
    SearchOptions options;
    options.window = std::chrono::milliseconds(c.windowMs);
    struct : SearchFrontEnd {
      void StartTicks(std::chrono::milliseconds) override {}
      void StopTicks() override {}
      void RepliesWaiting() override {}
      void OnRowsAdded(const RowsAdded&) override {}
      void OnCollision() override {}
      void OnEnded() override {}
    } frontEnd;
    const SearchSession session(table, frontEnd, options);
    EXPECT_EQ(session.TickCount(), c.ticks) << c.windowMs;
    EXPECT_EQ(session.TickPeriod().count(), c.periodMs) << c.windowMs;
  }
}

}  // namespace
