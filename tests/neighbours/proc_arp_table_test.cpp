#include "platform/proc_arp_table.h"

#include <gtest/gtest.h>

namespace {

TEST(ProcNetArp, KeepsOnlyEntriesWithALinkLayerAddress) {
  const std::vector<ProcArpRow> rows = ParseProcNetArp(
      "IP address       HW type     Flags       HW address            Mask  "
      "   Device\n"
      "10.77.0.2        0x1         0x2         9a:0b:1c:2d:3e:4f     *     "
      "   qa0\n"
      "10.77.0.213      0x1         0x0         00:00:00:00:00:00     *     "
      "   qa0\n"
      "10.100.3.214     0x1         0x6         02:00:00:00:02:14     *     "
      "   eth0.100\n"
      "10.77.0.9        0x1         0x2         9a:0b:1c:2d:3e        *     "
      "   qa0\n"
      "10.77.0.300      0x1         0x2         9a:0b:1c:2d:3e:4f     *     "
      "   qa0\n"
      "10.77.0.10       0x1         0x2         9a:0b:1c:2d:3e:4f\n");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].address, 0x0A4D0002u);
  EXPECT_EQ(rows[0].mac, (MacAddress{0x9a, 0x0b, 0x1c, 0x2d, 0x3e, 0x4f}));
  EXPECT_EQ(rows[0].device, "qa0");
  EXPECT_EQ(rows[1].address, 0x0A6403D6u);
  EXPECT_EQ(rows[1].mac, (MacAddress{0x02, 0, 0, 0, 0x02, 0x14}));
  EXPECT_EQ(rows[1].device, "eth0.100");
}

TEST(ProcNetArp, AnEmptyTableHasNoRows) {
  EXPECT_TRUE(ParseProcNetArp("").empty());
  EXPECT_TRUE(ParseProcNetArp("IP address       HW type     Flags       HW "
                              "address            Mask     Device\n")
                  .empty());
}

}  // namespace
