// The intake rules of the device table, from raw reply buffers to rows.
#include "core/devices/device_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "tests/support/replies.h"

namespace {

using Reply = TestReply;
using ::Pending;

constexpr std::array<std::uint8_t, 6> MAC_A{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
constexpr std::array<std::uint8_t, 6> MAC_B{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5F};
constexpr std::array<std::uint8_t, 6> MAC_C{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x60};
constexpr std::uint32_t IP1 = 0xC0A8010Au;  // 192.168.1.10
constexpr std::uint32_t IP2 = 0xC0A8010Bu;  // 192.168.1.11

TEST(MakePendingReply, OnlySearchRepliesBecomeEntries) {
  auto buffer = ReplyBuffer({MAC_A, IP1});
  PendingReply entry;
  EXPECT_TRUE(MakePendingReply(buffer.data(), 0, &entry));
  WriteU32(buffer.data() + 4, CMD_SEARCH);
  EXPECT_FALSE(MakePendingReply(buffer.data(), 0, &entry));
  WriteU32(buffer.data(), REQUEST_MAGIC);
  EXPECT_FALSE(MakePendingReply(buffer.data(), 0, &entry));
}

TEST(DeviceTable, RowTextsFromTheReply) {
  DeviceTable table;
  Reply r{MAC_A, IP1};
  r.ipMode = 3;
  r.basePort = -1;
  ASSERT_EQ(table.Add(Pending(r)), Intake::Added);
  const DeviceRow& row = table.Row(0);
  EXPECT_EQ(row.texts[COLUMN_IP], L"192.168.1.10");
  EXPECT_EQ(row.texts[COLUMN_MAC], L"00:1A:2B:3C:4D:5E");
  EXPECT_EQ(row.texts[COLUMN_BASE_PORT], L"-1");
  EXPECT_EQ(row.texts[COLUMN_HTTP_PORT], L"80");
  EXPECT_EQ(row.texts[COLUMN_IP_MODE], L"");
  EXPECT_EQ(row.texts[COLUMN_MODEL], L"CAM-1");
  EXPECT_EQ(row.texts[COLUMN_FIRMWARE], L"1.0");
  EXPECT_FALSE(row.checked);
  EXPECT_EQ(row.record, Pending(r).info);
}

TEST(DeviceTable, BodyLength40HidesTheTexts41ShowsThem) {
  DeviceTable table;
  Reply at40{MAC_A, IP1};
  at40.bodyLength = 40;
  Reply at41{MAC_B, IP2};
  at41.bodyLength = 41;
  table.Add(Pending(at40));
  table.Add(Pending(at41));
  EXPECT_EQ(table.Row(0).texts[COLUMN_MODEL], L"");
  EXPECT_EQ(table.Row(0).texts[COLUMN_FIRMWARE], L"");
  EXPECT_EQ(table.Row(1).texts[COLUMN_MODEL], L"CAM-1");
  EXPECT_EQ(table.Row(1).texts[COLUMN_FIRMWARE], L"1.0");
}

TEST(DeviceTable, NoTextsKeepTheRecordAndItsBodyLength) {
  DeviceTable table;
  table.SetRowTexts(RowTexts::None);
  Reply at40{MAC_B, IP2};
  at40.bodyLength = 40;
  ASSERT_EQ(table.Add(Pending({MAC_A, IP1})), Intake::Added);
  ASSERT_EQ(table.Add(Pending(at40)), Intake::Added);
  EXPECT_EQ(table.Add(Pending({MAC_A, IP2})), Intake::DuplicateMac);
  for (const DeviceRow* row : {&table.Row(0), &table.Row(1)})
    for (const std::wstring& text : row->texts) EXPECT_EQ(text, L"");
  EXPECT_EQ(table.Row(0).record, Pending({MAC_A, IP1}).info);
  EXPECT_EQ(table.Row(0).bodyLength, Pending({MAC_A, IP1}).bodyLength);
  EXPECT_EQ(table.Row(1).bodyLength, 40);
}

TEST(DeviceTable, DuplicateMacKeepsTheFirstRepliesTexts) {
  DeviceTable table;
  EXPECT_EQ(table.Add(Pending({MAC_A, IP1})), Intake::Added);
  Reply later{MAC_A, IP2};
  later.model = "OTHER";
  EXPECT_EQ(table.Add(Pending(later)), Intake::DuplicateMac);
  ASSERT_EQ(table.Size(), 1u);
  EXPECT_EQ(table.Row(0).texts[COLUMN_IP], L"192.168.1.10");
  EXPECT_EQ(table.Row(0).texts[COLUMN_MODEL], L"CAM-1");
}

TEST(DeviceTable, LoopbackNeverBecomesARow) {
  DeviceTable table;
  table.ArmCollisionCheck();
  EXPECT_EQ(table.Add(Pending({MAC_A, LOOPBACK_ADDRESS})), Intake::Loopback);
  EXPECT_EQ(table.Size(), 0u);
  EXPECT_TRUE(table.CollisionCheckArmed());
}

TEST(DeviceTable, OnlyTheFirstCollisionOfASearchIsDropped) {
  DeviceTable table;
  for (int search = 0; search < 2; ++search) {
    SCOPED_TRACE(search);
    table.Clear();
    table.ArmCollisionCheck();
    EXPECT_EQ(table.Add(Pending({MAC_A, IP1})), Intake::Added);
    EXPECT_EQ(table.Add(Pending({MAC_B, IP1})), Intake::Collision);
    EXPECT_FALSE(table.CollisionCheckArmed());
    EXPECT_EQ(table.Add(Pending({MAC_C, IP1})), Intake::Added);
    ASSERT_EQ(table.Size(), 2u);
    EXPECT_EQ(table.Row(0).texts[COLUMN_MAC], L"00:1A:2B:3C:4D:5E");
    EXPECT_EQ(table.Row(1).texts[COLUMN_MAC], L"00:1A:2B:3C:4D:60");
    // B was dropped, so its MAC is free for a later reply.
    EXPECT_EQ(table.Add(Pending({MAC_B, IP2})), Intake::Added);
  }
}

TEST(DeviceTable, DuplicateMacWinsOverCollision) {
  DeviceTable table;
  table.ArmCollisionCheck();
  table.Add(Pending({MAC_A, IP1}));
  EXPECT_EQ(table.Add(Pending({MAC_A, IP1})), Intake::DuplicateMac);
  EXPECT_TRUE(table.CollisionCheckArmed());
}

TEST(DeviceTable, UnarmedTableListsEqualAddresses) {
  DeviceTable table;
  EXPECT_EQ(table.Add(Pending({MAC_A, IP1})), Intake::Added);
  EXPECT_EQ(table.Add(Pending({MAC_B, IP1})), Intake::Added);
}

// The table's number indexes against the straightforward rule: compare the
// new reply's MAC and IP texts with those of every listed row. Few distinct
// values make duplicates, collisions and the loopback address common.
TEST(DeviceTable, IndexesGiveTheAnswersOfComparingEveryRowsTexts) {
  std::mt19937 random(11);
  auto pick = [&](int n) { return static_cast<int>(random() % n); };
  for (int round = 0; round < 50; ++round) {
    DeviceTable table;
    std::vector<std::wstring> macs, ips;
    bool armed = pick(2) == 0;
    if (armed) table.ArmCollisionCheck();
    for (int i = 0; i < 200; ++i) {
      Reply reply;
      reply.mac = {0x00,
                   0x1A,
                   0x00,
                   0x00,
                   static_cast<std::uint8_t>(pick(2)),
                   static_cast<std::uint8_t>(pick(40))};
      const std::uint32_t hosts[] = {LOOPBACK_ADDRESS, 0x0A000001u, 0x0A000100u,
                                     0x01000A00u};
      reply.ip = hosts[pick(4)] + static_cast<std::uint32_t>(pick(30));
      const std::wstring mac = MacText(reply.mac), ip = AddressText(reply.ip);
      auto listed = [](const std::vector<std::wstring>& texts,
                       const std::wstring& text) {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
      };
      Intake expected = Intake::Added;
      if (listed(macs, mac)) {
        expected = Intake::DuplicateMac;
      } else if (ip == L"127.0.0.1") {
        expected = Intake::Loopback;
      } else if (armed && listed(ips, ip)) {
        expected = Intake::Collision;
        armed = false;
      } else {
        macs.push_back(mac);
        ips.push_back(ip);
      }
      ASSERT_EQ(table.Add(Pending(reply)), expected) << round << " " << i;
    }
    ASSERT_EQ(table.Size(), macs.size());
    for (std::size_t row = 0; row < macs.size(); ++row) {
      EXPECT_EQ(table.Row(row).texts[COLUMN_MAC], macs[row]);
      EXPECT_EQ(table.Row(row).texts[COLUMN_IP], ips[row]);
    }
  }
}

TEST(FoundCountText, PluralForEveryCount) {
  EXPECT_EQ(FoundCountText(0), L"Found 0 devices");
  EXPECT_EQ(FoundCountText(1), L"Found 1 devices");
  EXPECT_EQ(FoundCountText(2), L"Found 2 devices");
  EXPECT_EQ(FoundCountText(65536), L"Found 65536 devices");
}

Reply Numbered(std::uint32_t n) {
  return Reply{
      {0x02, 0x00, static_cast<std::uint8_t>(n >> 24),
       static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 8),
       static_cast<std::uint8_t>(n)},
      0x0A000000u + n};
}

TEST(DeviceTable, AFullTableKeepsItsRowsAndCountsTheDevicesBeyond) {
  DeviceTable table;
  table.SetRowCap(3);
  table.ArmCollisionCheck();
  for (std::uint32_t n = 0; n < 3; ++n)
    ASSERT_EQ(table.Add(Pending(Numbered(n))), Intake::Added) << n;

  // Five more MACs, one of them twice; a reply that would collide is dropped
  // as full, so the test stays armed.
  for (std::uint32_t n : {3u, 4u, 5u, 4u, 6u})
    EXPECT_EQ(table.Add(Pending(Numbered(n))), Intake::Full) << n;
  Reply colliding = Numbered(7);
  colliding.ip = 0x0A000000u;
  EXPECT_EQ(table.Add(Pending(colliding)), Intake::Full);
  EXPECT_TRUE(table.CollisionCheckArmed());
  // The other drops keep their meaning, and are not counted as turned away.
  EXPECT_EQ(table.Add(Pending(Numbered(0))), Intake::DuplicateMac);
  EXPECT_EQ(table.Add(Pending({MAC_A, LOOPBACK_ADDRESS})), Intake::Loopback);

  ASSERT_EQ(table.Size(), 3u);
  EXPECT_EQ(table.Row(2).texts[COLUMN_IP], L"10.0.0.2");
  const TurnedAway away = table.TurnedAwayDevices();
  EXPECT_EQ(away.devices, 5u);
  EXPECT_EQ(away.count, TurnedAway::Count::Exact);

  // A new search starts with room again and nothing turned away.
  table.Clear();
  EXPECT_EQ(table.RowCap(), 3u);
  EXPECT_EQ(table.Add(Pending(Numbered(3))), Intake::Added);
  EXPECT_EQ(table.TurnedAwayDevices().devices, 0u);
}

TEST(DeviceTable, TheTurnedAwayMacsAreRememberedUpToABound) {
  DeviceTable table;
  table.SetRowCap(0);
  const auto bound =
      static_cast<std::uint32_t>(DeviceTable::REMEMBERED_BEYOND_CAP);
  // The entries are made directly: a buffer and a text per reply would make
  // this the slowest test of all.
  PendingReply entry = Pending(Numbered(0));
  auto add = [&](std::uint32_t n) {
    entry.info.macAddress = Numbered(n).mac;
    return table.Add(entry);
  };
  for (std::uint32_t n = 0; n < bound; ++n) ASSERT_EQ(add(n), Intake::Full);
  EXPECT_EQ(add(bound - 1), Intake::Full);
  TurnedAway away = table.TurnedAwayDevices();
  EXPECT_EQ(away.devices, bound);
  EXPECT_EQ(away.count, TurnedAway::Count::Exact);

  EXPECT_EQ(add(bound), Intake::Full);
  away = table.TurnedAwayDevices();
  EXPECT_EQ(away.devices, bound);
  EXPECT_EQ(away.count, TurnedAway::Count::MoreThan);

  table.Clear();
  EXPECT_EQ(table.TurnedAwayDevices().count, TurnedAway::Count::Exact);
}

}  // namespace
