#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "tests/probe/json_field.h"
#include "tools/probe/remote_memory.h"

namespace {

TEST(JsonField, PicksOneField) {
  const std::string line = R"({"n":-3,"b":false,"t":"x","a":[1,2]})";
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

}  // namespace
