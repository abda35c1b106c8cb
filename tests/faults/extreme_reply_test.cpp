// Simulated devices that answer with the loopback address, with every field
// at its extreme, and with replies cut short or longer than the receive
// buffer (extreme-devices.csv): the search survives them and makes exactly
// the rows the intake rules give.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <thread>

#include "tests/support/peer.h"
#include "tests/support/session_driver.h"

namespace {

using namespace std::chrono_literals;
using Texts = std::array<std::wstring, DEVICE_COLUMNS>;

std::map<std::wstring, DeviceRow> RowsByMac(SessionDriver& search) {
  std::map<std::wstring, DeviceRow> rows;
  for (const DeviceRow& row : search.Rows()) rows[row.texts[COLUMN_MAC]] = row;
  return rows;
}

TEST(ExtremeReplies, MakeTheRowsTheRulesGive) {
  ASSERT_TRUE(OnIsolatedTestNetwork());
  SessionDriver search;
  ASSERT_EQ(search.Start(), SearchStart::Started);
  std::this_thread::sleep_for(3s);
  search.End(10s);

  const auto rows = RowsByMac(search);
  const std::map<std::wstring, Texts> expected{
      {L"02:FA:00:00:00:02",
       {L"10.94.0.2", L"02:FA:00:00:00:02", L"2147483647", L"-2147483648", L"",
        L"ABCDEFGHIJKLMNOP", L"0123456789abcdef"}},
      {L"02:FA:00:00:00:03",
       {L"10.94.0.3", L"02:FA:00:00:00:03", L"-2147483648", L"2147483647", L"",
        L"", L""}},
      {L"FF:FF:FF:FF:FF:FF",
       {L"255.255.255.255", L"FF:FF:FF:FF:FF:FF", L"-1", L"0", L"DHCP",
        L"MODEL", L"FW"}},
      // Cut after the header: a body of zeros.
      {L"00:00:00:00:00:00",
       {L"0.0.0.0", L"00:00:00:00:00:00", L"0", L"0", L"Fixed IP", L"", L""}},
      {L"02:FA:00:00:00:07",
       {L"10.94.0.7", L"02:FA:00:00:00:07", L"8000", L"80", L"Fixed IP",
        L"FULL", L"BUFFER"}},
  };
  ASSERT_EQ(rows.size(), expected.size());
  for (const auto& [mac, texts] : expected) {
    ASSERT_TRUE(rows.count(mac))
        << "no row for " << testing::PrintToString(mac);
    EXPECT_EQ(rows.at(mac).texts, texts);
  }
  // The row keeps the reply's body exactly, reserved bytes included.
  const DeviceInfo& extreme = rows.at(L"02:FA:00:00:00:02").record;
  EXPECT_EQ(extreme.ipMode, 2147483647);
  EXPECT_EQ(extreme.subnetMask, 0xFFFFFFFFu);
  EXPECT_EQ(extreme.reserved1, (std::array<std::uint8_t, 2>{0xFF, 0xFF}));
  EXPECT_EQ(extreme.reserved2,
            (std::array<std::uint8_t, 8>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                         0xFF, 0xFF}));
  // The device on 127.0.0.1 and the engine's own test replies stay out.
  for (const DeviceRow& row : search.Rows())
    EXPECT_NE(row.record.ipAddress, LOOPBACK_ADDRESS) << "127.0.0.1 listed";
}

}  // namespace
