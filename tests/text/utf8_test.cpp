#include <gtest/gtest.h>

#include "core/text/json_string.h"
#include "core/text/utf8.h"

namespace {

TEST(Utf8, PairsAreOneCharacterAndLoneHalvesAreReplaced) {
  const struct {
    std::wstring wide;
    std::string utf8;
  } CASES[] = {
      {L"a\u00e9\u20ac", "a\xC3\xA9\xE2\x82\xAC"},
      {{wchar_t(0xD83D), wchar_t(0xDCF7)}, "\xF0\x9F\x93\xB7"},
      {{wchar_t(0xD83D), L'x'}, "\xEF\xBF\xBDx"},
      {{wchar_t(0xDCF7)}, "\xEF\xBF\xBD"},
  };
  for (const auto& c : CASES) EXPECT_EQ(Utf8(c.wide), c.utf8) << c.utf8;
  std::string beyond;
  AppendUtf8(0x110000, &beyond);
  EXPECT_EQ(beyond, "\xEF\xBF\xBD");
}

TEST(Utf8, EachIllFormedSequenceBecomesOneReplacement) {
  const std::string R = "\xEF\xBF\xBD";
  const struct {
    std::string bytes;
    std::string valid;
  } CASES[] = {
      {"S\xC3\xBC"
       "d \xF0\x9F\x93\xB7",
       "S\xC3\xBC"
       "d \xF0\x9F\x93\xB7"},
      {"\xFF\xFE", R + R},                  // no lead byte
      {"Caf\xE9", "Caf" + R},               // Latin-1
      {"Caf\xE9 bar", "Caf" + R + " bar"},  // a cut sequence
      {"\xC0\xAF", R + R},                  // overlong
      {"\xED\xA0\x80", R + R + R},          // a surrogate
      {"\xF4\x90\x80\x80", R + R + R + R},  // past U+10FFFF
      {"\xE2\x82", R},                      // cut at the end
      {"\x80x", R + "x"},                   // a stray continuation
  };
  for (const auto& c : CASES) EXPECT_EQ(ValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(JsonString, EscapesQuotesBackslashesAndControlsOnly) {
  EXPECT_EQ(JsonString("a\"b\\c\r\n\t\x01\x1f\x7f\xC3\xA9"),
            "\"a\\\"b\\\\c\\r\\n\\t\\u0001\\u001f\x7f\xC3\xA9\"");
}

}  // namespace
