#include "core/text/ascii_words.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(AsciiWords, Int32AcceptsTheFullRangeOnly) {
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

TEST(AsciiWords, BlanksAroundAreTrimmed) {
  EXPECT_EQ(Trimmed(" \t10.77.0.1 "), "10.77.0.1");
  EXPECT_EQ(Trimmed("a b\t"), "a b");
  EXPECT_EQ(Trimmed("  "), "");
}

}  // namespace
