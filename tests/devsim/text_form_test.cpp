#include "tools/devsim/text_form.h"

#include <gtest/gtest.h>

namespace devsim {
namespace {

TEST(TextForm, DottedTextPrintsMostSignificantByteFirst) {
  EXPECT_EQ(DottedText(0xC0A8010Au), "192.168.1.10");
  EXPECT_EQ(DottedText(0), "0.0.0.0");
  EXPECT_EQ(DottedText(0xFFFFFFFFu), "255.255.255.255");
}

TEST(TextForm, Int32AcceptsTheFullRangeOnly) {
  struct Case {
    const char* text;
    bool ok;
    std::int32_t value;
  };
  const Case CASES[] = {
      {"0", true, 0},
      {"-1", true, -1},
      {"+80", true, 80},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, INT32_MIN},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"99999999999999999999999", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {"1.5", false, 0},
      {"0x10", false, 0},
      {" 1", false, 0},
  };
  for (const Case& c : CASES) {
    std::int32_t value = 12345;
    EXPECT_EQ(ParseInt32(c.text, &value), c.ok) << c.text;
    EXPECT_EQ(value, c.ok ? c.value : 12345) << c.text;
  }
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
