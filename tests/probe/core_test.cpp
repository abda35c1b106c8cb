#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "tests/probe/json_field.h"
#include "tools/probe/dialogs.h"
#include "tools/probe/json_line.h"
#include "tools/probe/remote_memory.h"

namespace {

TEST(JsonLine, EscapesAndEncodesTexts) {
  EXPECT_EQ(probe::JsonQuoted(L"a\"b\\c"), R"("a\"b\\c")");
  EXPECT_EQ(probe::JsonQuoted(L"1\r\n2\t\x01"), R"("1\r\n2\t\u0001")");
  EXPECT_EQ(probe::JsonQuoted(L"\u00DC"), "\"\xC3\x9C\"");
}

TEST(JsonLine, BuildsOneObject) {
  const std::string line = probe::JsonLine()
                               .Number("n", -3)
                               .Bool("b", false)
                               .Text("t", L"x")
                               .Raw("a", probe::JsonArray({"1", "2"}))
                               .Str();
  EXPECT_EQ(line, R"({"n":-3,"b":false,"t":"x","a":[1,2]})");
  EXPECT_EQ(JsonField(line, "a"), "[1,2]");
  EXPECT_EQ(JsonField(line, "t"), R"("x")");
  EXPECT_EQ(JsonField(line, "missing"), "");
}

TEST(RemoteMemory, RoundTripsThroughAProcess) {
  probe::TargetProcess process(GetCurrentProcessId());
  ASSERT_TRUE(process.Usable());
  probe::RemoteBuffer buffer(process.Handle(), 64);
  ASSERT_TRUE(buffer.Valid());
  const RECT written{1, 2, 3, 4};
  ASSERT_TRUE(buffer.Put(written, 8));
  RECT read{};
  ASSERT_TRUE(buffer.Get(read, 8));
  EXPECT_EQ(std::memcmp(&read, &written, sizeof read), 0);
  EXPECT_EQ(std::memcmp(reinterpret_cast<void*>(buffer.Address(8)), &written,
                        sizeof written),
            0);
}

TEST(RemoteMemory, RefusesAccessBeyondTheBlock) {
  probe::TargetProcess process(GetCurrentProcessId());
  probe::RemoteBuffer buffer(process.Handle(), 16);
  const RECT rect{};
  EXPECT_FALSE(buffer.Put(rect, 1));
  EXPECT_TRUE(buffer.Put(rect, 0));
}

TEST(DottedAddress, ParsesAndPrints) {
  EXPECT_EQ(probe::DottedAddress(0xC0A8000A), L"192.168.0.10");
  EXPECT_EQ(probe::ParseDottedAddress(L"10.1.2.3"), 0x0A010203u);
  EXPECT_FALSE(probe::ParseDottedAddress(L"10.1.2"));
  EXPECT_FALSE(probe::ParseDottedAddress(L"10.1.2.256"));
  EXPECT_FALSE(probe::ParseDottedAddress(L"10.1.2.3x"));
}

}  // namespace
