#include "cli/format/progress_line.h"

#include <gtest/gtest.h>

#include <chrono>

namespace cli {
namespace {

// On a terminal the line is drawn over with carriage returns, a shorter
// text blanking the rest of the longer one; elsewhere nothing is written.
TEST(ProgressLine, DrawnOverOnATerminalAbsentElsewhere) {
  std::string terminal;
  std::string other;
  ProgressLine drawn(ProgressTarget::Terminal,
                     [&](const std::string& text) { terminal += text; });
  ProgressLine silent(ProgressTarget::Other,
                      [&](const std::string& text) { other += text; });
  for (ProgressLine* line : {&drawn, &silent}) {
    line->Show("wave 1: 9 of 10 answered, 12 s left");
    line->Show("wave 1: 10 of 10 answered");
    line->WriteAside([&] { (line == &drawn ? terminal : other) += "msg\n"; });
    line->Show("S\u00FCd 2 s left");
    line->Clear();
    line->Clear();
  }
  EXPECT_EQ(terminal,
            "\rwave 1: 9 of 10 answered, 12 s left"
            "\rwave 1: 10 of 10 answered          \rwave 1: 10 of 10 answered"
            "\r                         \rmsg\n"
            "\rS\u00FCd 2 s left"
            "\r            \r");
  EXPECT_EQ(other, "msg\n");
}

TEST(ProgressLine, AWaitShowsTheTimeLeftOnlyWhenLong) {
  std::string written;
  ProgressLine line(ProgressTarget::Terminal,
                    [&](const std::string& text) { written += text; });
  auto text = [](std::chrono::seconds left) { return TimeLeftText(left); };
  { const ProgressWait brief(line, std::chrono::milliseconds(1900), text); }
  EXPECT_EQ(written, "");
  { const ProgressWait wait(line, std::chrono::seconds(3), text); }
  EXPECT_EQ(written, "\r3 s left\r        \r");
  EXPECT_EQ(VerifyProgressText(1, 49, 50, "02:51:4C:30:00:07",
                               std::chrono::seconds(12)),
            "wave 1: 49 of 50 answered, waiting for 02:51:4C:30:00:07, 12 s "
            "left");
}

}  // namespace
}  // namespace cli
