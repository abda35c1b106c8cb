#include "tools/devsim/text_form.h"

#include <gtest/gtest.h>

namespace devsim {
namespace {

TEST(TextForm, DottedTextPrintsMostSignificantByteFirst) {
  EXPECT_EQ(DottedText(0xC0A8010Au), "192.168.1.10");
  EXPECT_EQ(DottedText(0), "0.0.0.0");
  EXPECT_EQ(DottedText(0xFFFFFFFFu), "255.255.255.255");
}

TEST(TextForm, HexRoundTrips) {
  const std::uint8_t bytes[] = {0x00, 0x7F, 0xA5, 0xFF};
  EXPECT_EQ(HexOf(bytes, 4), "007fa5ff");
  std::uint8_t back[4] = {};
  ASSERT_TRUE(ParseHex("007FA5ff", back, 4));
  EXPECT_EQ(HexOf(back, 4), "007fa5ff");
  EXPECT_FALSE(ParseHex("007fa5", back, 4));
  EXPECT_FALSE(ParseHex("007fa5fg", back, 4));
  EXPECT_EQ(HexOf(bytes, 0), "");
}

TEST(TextForm, DeviceTextsHoldUpToSixteenPrintableCharacters) {
  DeviceText area{};
  ASSERT_TRUE(MakeDeviceText("ABCDEFGHIJKLMNOP", &area));
  EXPECT_EQ(area[15], 'P');
  EXPECT_EQ(DeviceTextString(area), "ABCDEFGHIJKLMNOP");
  ASSERT_TRUE(MakeDeviceText("ab", &area));
  EXPECT_EQ(area[2], 0);
  EXPECT_EQ(area[15], 0);
  EXPECT_EQ(DeviceTextString(area), "ab");
  EXPECT_FALSE(MakeDeviceText("ABCDEFGHIJKLMNOPQ", &area));
  EXPECT_FALSE(MakeDeviceText("tab\there", &area));
  EXPECT_FALSE(MakeDeviceText("caf\xC3\xA9", &area));
  EXPECT_EQ(DeviceTextString(area), "ab");
}

}  // namespace
}  // namespace devsim
