// The Windows build's word on the firewall when no device answered.
#include "platform/firewall_note.h"

#include <gtest/gtest.h>

#include "cli/network/search_remarks.h"

namespace {

TEST(FirewallNote, WindowsSaysHowToLetTheAnswersIn) {
  const std::vector<std::string> lines =
      cli::NothingAnsweredLines({{0x0A4D0001u, 0xFFFFFF00u}}, 0);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_NE(lines[2].find("inbound UDP port 64988 must be allowed"),
            std::string::npos)
      << lines[2];
  EXPECT_NE(lines[2].find("a dismissed prompt leaves a block rule, which "
                          "beats any allow rule"),
            std::string::npos)
      << lines[2];
  EXPECT_NE(lines[3].find("remove that block rule (Windows Security \u203A "
                          "Firewall & network protection \u203A Allow an app "
                          "through firewall)"),
            std::string::npos)
      << lines[3];
  EXPECT_EQ(lines[4],
            "  netsh advfirewall firewall add rule name=\"Quellan discovery\" "
            "dir=in action=allow protocol=UDP localport=64988");
}

}  // namespace
