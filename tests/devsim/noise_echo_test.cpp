#include <gtest/gtest.h>

#include <set>

#include "core/protocol/datagram.h"
#include "tools/devsim/echo_filter.h"
#include "tools/devsim/noise.h"

namespace devsim {
namespace {

TEST(Noise, TheFirstSixHaveTheAwkwardSizes) {
  const std::size_t EXPECTED[] = {0, 1, 23, 95, 97, 300};
  for (std::uint32_t i = 0; i < 6; ++i) {
    EXPECT_EQ(MakeNoise(1, i).size(), EXPECTED[i]) << i;
  }
}

TEST(Noise, IsNeverARequestOrASearchReply) {
  std::set<std::uint32_t> magics;
  for (std::uint64_t key = 0; key < 50; ++key) {
    for (std::uint32_t i = 0; i < 120; ++i) {
      const std::vector<std::uint8_t> junk = MakeNoise(key, i);
      ASSERT_FALSE(LooksMeaningful(junk)) << key << " " << i;
      if (junk.size() >= 8) magics.insert(ReadU32(junk.data()));
    }
  }
  // Right magics with wrong commands come up, not only random words.
  EXPECT_EQ(magics.count(REPLY_MAGIC), 1u);
  EXPECT_EQ(magics.count(REQUEST_MAGIC), 1u);
}

TEST(Noise, SameKeyAndIndexGiveTheSameBytes) {
  EXPECT_EQ(MakeNoise(42, 5), MakeNoise(42, 5));
  EXPECT_NE(MakeNoise(42, 5), MakeNoise(43, 5));
}

TEST(Noise, MeaningfulHeadersAreRecognised) {
  std::vector<std::uint8_t> datagram(24, 0);
  const struct {
    std::uint32_t magic;
    std::uint32_t command;
    bool meaningful;
  } CASES[] = {
      {REPLY_MAGIC, CMD_SEARCH_REPLY, true},
      {REQUEST_MAGIC, CMD_SEARCH, true},
      {REQUEST_MAGIC, CMD_CHANGE_IP, true},
      {REPLY_MAGIC, CMD_SEARCH, false},
      {REQUEST_MAGIC, CMD_SEARCH_REPLY, false},
      {0, CMD_SEARCH, false},
  };
  for (const auto& c : CASES) {
    WriteU32(datagram.data(), c.magic);
    WriteU32(datagram.data() + 4, c.command);
    EXPECT_EQ(LooksMeaningful(datagram), c.meaningful);
  }
  datagram.resize(7);
  EXPECT_FALSE(LooksMeaningful(datagram));
}

TEST(EchoFilter, RecognisesEachRememberedSendOnce) {
  EchoFilter filter(1000000, 100);
  const std::uint8_t a[] = {1, 2, 3};
  const std::uint8_t b[] = {1, 2, 4};
  filter.Remember(a, 3, 0);
  filter.Remember(a, 3, 10);
  filter.Remember(a, 0, 20);
  EXPECT_FALSE(filter.TakeEcho(b, 3, 30));
  EXPECT_FALSE(filter.TakeEcho(a, 2, 30));
  EXPECT_TRUE(filter.TakeEcho(a, 3, 30));
  EXPECT_TRUE(filter.TakeEcho(a, 3, 40));
  EXPECT_FALSE(filter.TakeEcho(a, 3, 50));
  EXPECT_TRUE(filter.TakeEcho(b, 0, 60));
  EXPECT_FALSE(filter.TakeEcho(b, 0, 70));
}

TEST(EchoFilter, ForgetsOldSendsAndKeepsItsSizeBounded) {
  EchoFilter filter(1000, 2);
  const std::uint8_t a[] = {1};
  const std::uint8_t b[] = {2};
  const std::uint8_t c[] = {3};
  filter.Remember(a, 1, 0);
  EXPECT_FALSE(filter.TakeEcho(a, 1, 1001));
  filter.Remember(a, 1, 2000);
  filter.Remember(b, 1, 2000);
  filter.Remember(c, 1, 2000);
  EXPECT_FALSE(filter.TakeEcho(a, 1, 2000));
  EXPECT_TRUE(filter.TakeEcho(b, 1, 2000));
  EXPECT_TRUE(filter.TakeEcho(c, 1, 2000));
}

}  // namespace
}  // namespace devsim
