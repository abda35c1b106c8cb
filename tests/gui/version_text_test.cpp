#include "app/dialogs/version_text.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatFileVersion, OwnVersion) {
  EXPECT_EQ(FormatFileVersion(0x00010000, 0x00000001), L"1.0.0.1");
}

TEST(FormatFileVersion, DecimalWithoutLeadingZeros) {
  EXPECT_EQ(FormatFileVersion((2u << 16) | 10u, (300u << 16) | 4000u),
            L"2.10.300.4000");
}

TEST(FormatFileVersion, LargestParts) {
  EXPECT_EQ(FormatFileVersion(0xFFFFFFFF, 0xFFFF0000), L"65535.65535.65535.0");
}

TEST(AboutText, VersionFollowsTheName) {
  EXPECT_EQ(AboutText(L"1.0.0.1"), L"Quellan Application ver 1.0.0.1");
}

TEST(AboutText, NoVersionEndsAfterVer) {
  EXPECT_EQ(AboutText(L""), L"Quellan Application ver ");
}

}  // namespace
