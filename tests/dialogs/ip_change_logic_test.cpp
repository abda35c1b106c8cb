#include <gtest/gtest.h>

#include "app/dialogs/change_progress.h"
#include "app/dialogs/ip_change_fields.h"
#include "app/dialogs/ip_mode_list.h"

namespace {

constexpr std::uint32_t Numeric(std::uint32_t a, std::uint32_t b,
                                std::uint32_t c, std::uint32_t d) {
  return (a << 24) | (b << 16) | (c << 8) | d;
}

TEST(IpModeList, EntriesSitAtTheIndexOfTheirMode) {
  ASSERT_EQ(IP_MODE_ENTRIES.size(), 3u);
  EXPECT_STREQ(IP_MODE_ENTRIES[0], L"Fixed IP");
  EXPECT_STREQ(IP_MODE_ENTRIES[1], L"DHCP");
  EXPECT_STREQ(IP_MODE_ENTRIES[2], L"PPPoE (ADSL)");
}

TEST(IpModeList, OfferedModesSelectTheirOwnIndex) {
  EXPECT_EQ(IpModeListIndex(0), 0);
  EXPECT_EQ(IpModeListIndex(1), 1);
  EXPECT_EQ(IpModeListIndex(2), 2);
}

TEST(IpModeList, OtherModesSelectNothing) {
  EXPECT_EQ(IpModeListIndex(3), -1);
  EXPECT_EQ(IpModeListIndex(-1), -1);
  EXPECT_EQ(IpModeListIndex(0x7FFFFFFF), -1);
}

TEST(IpChangeFields, DeviceSettingsAreShownUnconverted) {
  IpSettings settings;
  settings.ipMode = 1;
  settings.ipAddress = Numeric(192, 168, 0, 20);
  settings.subnetMask = Numeric(255, 255, 255, 0);
  settings.gateway = Numeric(192, 168, 0, 1);
  settings.basePort = 2222;
  settings.httpPort = 80;
  const IpChangeFields fields = FieldsFromSettings(settings);
  EXPECT_EQ(fields.modeIndex, 1);
  EXPECT_EQ(fields.ipAddress, Numeric(192, 168, 0, 20));
  EXPECT_EQ(fields.subnetMask, Numeric(255, 255, 255, 0));
  EXPECT_EQ(fields.gateway, Numeric(192, 168, 0, 1));
  EXPECT_EQ(fields.basePortText, L"2222");
  EXPECT_EQ(fields.httpPortText, L"80");
}

TEST(IpChangeFields, PortsAreWrittenAsSignedNumbersAndModeThreeIsEmpty) {
  IpSettings settings;
  settings.ipMode = 3;
  settings.basePort = -1;
  settings.httpPort = -2147483647 - 1;
  const IpChangeFields fields = FieldsFromSettings(settings);
  EXPECT_EQ(fields.modeIndex, -1);
  EXPECT_EQ(fields.basePortText, L"-1");
  EXPECT_EQ(fields.httpPortText, L"-2147483648");
}

TEST(IpChangeFields, MultiDefaultsAreFixed) {
  const IpChangeFields fields = MultiChangeDefaults();
  EXPECT_EQ(fields.modeIndex, 0);
  EXPECT_EQ(fields.ipAddress, Numeric(192, 168, 10, 100));
  EXPECT_EQ(fields.subnetMask, Numeric(255, 255, 255, 0));
  EXPECT_EQ(fields.gateway, Numeric(192, 168, 10, 1));
  EXPECT_EQ(fields.basePortText, L"2222");
  EXPECT_EQ(fields.httpPortText, L"80");
}

TEST(IpChangeFields, ServerCountHasNoSingularForm) {
  EXPECT_EQ(ServerCountText(0), L"0 Servers are selected");
  EXPECT_EQ(ServerCountText(1), L"1 Servers are selected");
  EXPECT_EQ(ServerCountText(3), L"3 Servers are selected");
}

TEST(ChangeProgress, CounterIsZeroPaddedToThreeDigits) {
  EXPECT_EQ(ProgressCounterText(0, 0), L"000 / 000");
  EXPECT_EQ(ProgressCounterText(4, 12), L"004 / 012");
  EXPECT_EQ(ProgressCounterText(5, 3), L"005 / 003");
  EXPECT_EQ(ProgressCounterText(1234, 99999), L"1234 / 99999");
}

TEST(ChangeProgress, CompleteOnlyAtExactlyTheTotal) {
  EXPECT_FALSE(IsChangeComplete(2, 3));
  EXPECT_TRUE(IsChangeComplete(3, 3));
  EXPECT_FALSE(IsChangeComplete(5, 3));
  EXPECT_TRUE(IsChangeComplete(0, 0));
}

TEST(ChangeProgress, RangeEndIsTheTotalModulo65536) {
  EXPECT_EQ(ProgressRangeEnd(12), 12);
  EXPECT_EQ(ProgressRangeEnd(65535), 65535);
  EXPECT_EQ(ProgressRangeEnd(65536), 0);
  EXPECT_EQ(ProgressRangeEnd(65537), 1);
}

}  // namespace
