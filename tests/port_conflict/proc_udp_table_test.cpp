#include "platform/proc_udp_table.h"

#include <gtest/gtest.h>

namespace {

const char TABLE[] =
    "   sl  local_address rem_address   st tx_queue rx_queue tr tm->when "
    "retrnsmt   uid  timeout inode ref pointer drops\n"
    "  120: 00000000:0035 00000000:0000 07 00000000:00000000 00:00000000 "
    "00000000     0        0 5001 2 0000000000000000 0\n"
    "  296: 00000000:FDDC 00000000:0000 07 00000000:00000000 00:00000000 "
    "00000000  1000        0 31337 2 0000000000000000 0\n"
    "  297: 0100007F:FDDD 00000000:0000 07 00000000:00000000 00:00000000 "
    "00000000     0        0 4242 2 0000000000000000 0\n"
    "  298: 0100007F:DCFD 00000000:0000 07 00000000:00000000 00:00000000 "
    "00000000     0        0 4343 2 0000000000000000 0\n";

TEST(ProcNetUdp, ParsesPortsAndInodesInTableOrder) {
  const std::vector<ProcUdpRow> rows = ParseProcNetUdp(TABLE);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].localPort, 53);
  EXPECT_EQ(rows[0].inode, 5001u);
  EXPECT_EQ(rows[1].localPort, 64988);
  EXPECT_EQ(rows[1].inode, 31337u);
  EXPECT_EQ(rows[2].localPort, 64989);
  EXPECT_EQ(rows[3].localPort, 56573);
}

TEST(ProcNetUdp, FindsOnlyTheDiscoveryPortInHostOrder) {
  EXPECT_EQ(FindPortInode(ParseProcNetUdp(TABLE), 64988), 31337u);
  EXPECT_EQ(FindPortInode(ParseProcNetUdp(TABLE), 1), 0u);
}

TEST(ProcNetUdp, LastRowOnThePortWins) {
  const std::string twice =
      std::string(TABLE) +
      "  299: 0A000001:FDDC 00000000:0000 07 00000000:00000000 00:00000000 "
      "00000000     0        0 777 2 0000000000000000 0\n";
  EXPECT_EQ(FindPortInode(ParseProcNetUdp(twice), 64988), 777u);
}

TEST(ProcNetUdp, SkipsLinesThatDoNotParse) {
  EXPECT_TRUE(ParseProcNetUdp("").empty());
  EXPECT_TRUE(
      ParseProcNetUdp("garbage\n 1: zz:FDDC a b c d e f g 9\n").empty());
  EXPECT_TRUE(ParseProcNetUdp(" 1: 00000000:1FDDC 00000000:0000 07 "
                              "0:0 0:0 0 0 0 9 2 0 0\n")
                  .empty());
}

struct LinkCase {
  const char* link;
  std::uint64_t inode;
};

class SocketLinks : public testing::TestWithParam<LinkCase> {};

TEST_P(SocketLinks, NameTheirInode) {
  EXPECT_EQ(SocketInodeOfLink(GetParam().link), GetParam().inode);
}

INSTANTIATE_TEST_SUITE_P(
    Links, SocketLinks,
    testing::Values(LinkCase{"socket:[31337]", 31337}, LinkCase{"socket:[]", 0},
                    LinkCase{"socket:[12", 0}, LinkCase{"pipe:[31337]", 0},
                    LinkCase{"/dev/null", 0}, LinkCase{"socket:[1x]", 0}));

TEST(WidenUtf8, DecodesPathsAndMarksBadBytes) {
  EXPECT_EQ(WidenUtf8("/usr/bin/python3"), L"/usr/bin/python3");
  EXPECT_EQ(WidenUtf8("/tmp/caf\xC3\xA9"), L"/tmp/caf\u00E9");
  EXPECT_EQ(WidenUtf8("/tmp/\xE2\x82\xAC"), L"/tmp/\u20AC");
  EXPECT_EQ(WidenUtf8("a\xFF"
                      "b"),
            L"a\uFFFD"
            L"b");
  EXPECT_EQ(WidenUtf8("a\xC3"), L"a\uFFFD");
  EXPECT_EQ(WidenUtf8("\xC0\xAF"), L"\uFFFD\uFFFD");
}

}  // namespace
