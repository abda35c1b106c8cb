#include "core/text/json_line.h"

#include <gtest/gtest.h>

namespace {

TEST(JsonLine, BuildsOneObjectWithEscapedTexts) {
  const std::string line = JsonLine()
                               .Text("event", "x\"y\\z\n\t\x01")
                               .Text("wide", L"\u00DC")
                               .Number("n", -5)
                               .Bool("b", false)
                               .Raw("o", JsonLine().Number("a", 1).Str())
                               .Raw("a", JsonArray({"1", "2"}))
                               .Str();
  EXPECT_EQ(line,
            "{\"event\":\"x\\\"y\\\\z\\n\\t\\u0001\",\"wide\":\"\xC3\x9C\","
            "\"n\":-5,\"b\":false,\"o\":{\"a\":1},\"a\":[1,2]}");
  EXPECT_EQ(JsonLine().Str(), "{}");
  EXPECT_EQ(JsonArray({}), "[]");
}

}  // namespace
