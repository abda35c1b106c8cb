#include "platform/file_read.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// A name with characters of more than one byte.
const std::string NAME = "\xEC\xB9\xB4\xEB\xA9\x94\xEB\x9D\xBC file_read.bin";

TEST(FileRead, ReadsEveryByteByAUtf8Name) {
  const FileRead missing = ReadWholeFile(NAME);
  ASSERT_FALSE(missing.ok);
  EXPECT_FALSE(missing.reason.empty());

  const std::string bytes("a\0\r\n\xFF", 5);
  std::FILE* file = std::fopen(NAME.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  const FileRead read = ReadWholeFile(NAME);
  std::remove(NAME.c_str());
  ASSERT_TRUE(read.ok) << read.reason;
  EXPECT_EQ(read.bytes, bytes);
}

}  // namespace
