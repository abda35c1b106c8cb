#include <string>
#include <vector>

#include "tests/probe/json_field.h"
#include "tests/probe/probe_fixture.h"

namespace {

using Lines = std::vector<std::string>;

TEST_F(ProbeTest, WaitWindowReportsTheFrameOfTheTarget) {
  const ProbeRun run = Probe({L"wait-window"});
  ASSERT_EQ(run.exitCode, 0);
  ASSERT_EQ(run.lines.size(), 1u);
  EXPECT_EQ(JsonField(run.lines[0], "pid"),
            std::to_string(target_.ProcessId()));
  EXPECT_NE(JsonField(run.lines[0], "frame"), "0");
  EXPECT_NE(JsonField(run.lines[0], "list"), "0");
  EXPECT_LT(std::stoi(JsonField(run.lines[0], "left")),
            std::stoi(JsonField(run.lines[0], "right")));
}

TEST_F(ProbeTest, FoundTextReadsTheView) {
  const ProbeRun run = Probe({L"found-text"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.lines, Lines{R"({"text":"Found 3 devices"})"});
}

TEST_F(ProbeTest, EnabledReadsTheToolbarButtons) {
  EXPECT_EQ(Probe({L"enabled", L"32777"}).lines,
            Lines{R"({"id":32777,"enabled":true,"state":4})"});
  EXPECT_EQ(Probe({L"enabled", L"32778"}).lines,
            Lines{R"({"id":32778,"enabled":false,"state":0})"});
  EXPECT_EQ(JsonField(Probe({L"enabled", L"32779"}).lines.at(0), "enabled"),
            "true");
}

TEST_F(ProbeTest, EnabledOfAnUnknownCommandIsNotThere) {
  const ProbeRun run = Probe({L"enabled", L"12345"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.lines.empty());
}

TEST_F(ProbeTest, WaitEnabledEndsAtOnceWhenTheStateHolds) {
  EXPECT_EQ(ProbeNow({L"wait-enabled", L"32778", L"off"}).exitCode, 0);
  EXPECT_EQ(ProbeNow({L"wait-enabled", L"32778", L"on"}).exitCode, 1);
}

TEST_F(ProbeTest, ControlEnabledReadsTheViewsControls) {
  EXPECT_EQ(Probe({L"control-enabled", L"1000"}).lines,
            Lines{R"({"id":1000,"enabled":true,"visible":true})"});
  EXPECT_EQ(Probe({L"control-enabled", L"1002"}).lines,
            Lines{R"({"id":1002,"enabled":false,"visible":true})"});
  EXPECT_EQ(Probe({L"control-enabled", L"4242"}).exitCode, 1);
}

TEST_F(ProbeTest, CommandIsPostedToTheFrame) {
  const ProbeRun run = Probe({L"command", L"32777"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(JsonField(run.lines.at(0), "command"), "32777");
  EXPECT_TRUE(Reported(L"command 32777"));
}

TEST_F(ProbeTest, ClickOnADisabledToolButtonGivesNoCommand) {
  EXPECT_EQ(Probe({L"click-tool", L"32778"}).exitCode, 0);
  EXPECT_EQ(Probe({L"click-tool", L"32779"}).exitCode, 0);
  const ProbeRun log =
      Probe({L"wait-text", std::to_wstring(target::COMMAND_LOG_ID), L"32779"});
  EXPECT_EQ(log.exitCode, 0);
  EXPECT_EQ(log.lines, Lines{R"({"id":1098,"text":"32779"})"});
}

TEST_F(ProbeTest, ControlClickTogglesACheckBox) {
  EXPECT_EQ(Probe({L"control-click", L"1005"}).exitCode, 0);
  EXPECT_TRUE(Reported(L"option 1"));
  EXPECT_EQ(Probe({L"control-click", L"1005"}).exitCode, 0);
  EXPECT_TRUE(Reported(L"option 0"));
}

TEST_F(ProbeTest, ControlClickRefusesADisabledControl) {
  EXPECT_EQ(Probe({L"control-click", L"1002"}).exitCode, 1);
}

TEST_F(ProbeTest, ExitCommandEndsTheProgram) {
  EXPECT_EQ(Probe({L"command", L"57665"}).exitCode, 0);
  EXPECT_EQ(target_.WaitForExit(60000), 1);
  EXPECT_EQ(Probe({L"wait-closed"}).lines, Lines{R"({"closed":true})"});
}

TEST(ProbeUsage, BadInvocationsAreUsageErrors) {
  EXPECT_EQ(RunProbe({}).exitCode, 2);
  EXPECT_EQ(RunProbe({L"no-such-command"}).exitCode, 2);
  EXPECT_EQ(RunProbe({L"command"}).exitCode, 2);
  EXPECT_EQ(RunProbe({L"command", L"search"}).exitCode, 2);
  EXPECT_EQ(RunProbe({L"check", L"0", L"maybe"}).exitCode, 2);
  EXPECT_EQ(RunProbe({L"--timeout"}).exitCode, 2);
  EXPECT_EQ(RunProbe({L"dialog-ip", L"1012", L"1.2.3"}).exitCode, 2);
}

TEST(ProbeUsage, HelpListsTheCommands) {
  const ProbeRun run = RunProbe({L"--help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_GT(run.lines.size(), 20u);
}

TEST(ProbeUsage, NoFrameIsNotThere) {
  EXPECT_EQ(
      RunProbe({L"--pid", L"1", L"--timeout", L"0", L"found-text"}).exitCode,
      1);
}

}  // namespace
