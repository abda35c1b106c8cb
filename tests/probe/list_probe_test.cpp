#include <string>
#include <vector>

#include "tests/probe/json_field.h"
#include "tests/probe/probe_fixture.h"

namespace {

using Lines = std::vector<std::string>;

TEST_F(ProbeTest, RowsListsEveryRowWithTextsAndStates) {
  const ProbeRun run = Probe({L"rows"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(
      run.lines,
      (Lines{
          R"({"row":0,"texts":["192.168.0.10","00:11:22:33:44:0A","2222","80","Fixed IP","VS-100","1.0.2"],"check":0,"selected":false,"focused":false})",
          R"({"row":1,"texts":["192.168.0.9","00:11:22:33:44:09","2222","8080","DHCP","CAM-200","2.1.0"],"check":0,"selected":false,"focused":false})",
          "{\"row\":2,\"texts\":[\"10.0.0.1\",\"00:11:22:33:44:01\",\"3000\","
          "\"80\",\"PPPoE (ADSL)\",\"Kamera \xC3\x9C \\\"3\\\" \\\\ x\","
          "\"3.0.1\"],\"check\":0,\"selected\":false,\"focused\":false}"}));
}

TEST_F(ProbeTest, CheckSetsTheCheckBoxAndReadsItBack) {
  EXPECT_EQ(Probe({L"check", L"1", L"on"}).lines,
            Lines{R"({"row":1,"check":1})"});
  EXPECT_EQ(JsonField(Probe({L"rows"}).lines.at(1), "check"), "1");
  EXPECT_EQ(JsonField(Probe({L"rows"}).lines.at(0), "check"), "0");
  EXPECT_EQ(Probe({L"check", L"1", L"off"}).lines,
            Lines{R"({"row":1,"check":0})"});
  EXPECT_EQ(JsonField(Probe({L"rows"}).lines.at(1), "check"), "0");
}

TEST_F(ProbeTest, CheckOfAMissingRowIsNotThere) {
  EXPECT_EQ(Probe({L"check", L"3", L"on"}).exitCode, 1);
}

TEST_F(ProbeTest, SelectSelectsAndFocusesOneRow) {
  EXPECT_EQ(Probe({L"select", L"2"}).lines,
            Lines{R"({"row":2,"selected":true,"focused":true})"});
  EXPECT_EQ(Probe({L"select", L"0"}).exitCode, 0);
  const ProbeRun rows = Probe({L"rows"});
  ASSERT_EQ(rows.lines.size(), 3u);
  EXPECT_EQ(JsonField(rows.lines[0], "selected"), "true");
  EXPECT_EQ(JsonField(rows.lines[2], "selected"), "false");
}

TEST_F(ProbeTest, ClickRowSelectsTheRowAndTheListNotifies) {
  const ProbeRun run = Probe({L"click-row", L"1"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(JsonField(run.lines.at(0), "row"), "1");
  EXPECT_TRUE(Reported(L"row 1 clicked"));
  EXPECT_EQ(JsonField(Probe({L"rows"}).lines.at(1), "selected"), "true");
}

TEST_F(ProbeTest, DoubleClickRowNotifiesADoubleClick) {
  EXPECT_EQ(Probe({L"double-click-row", L"2"}).exitCode, 0);
  EXPECT_TRUE(Reported(L"row 2 double-clicked"));
}

TEST_F(ProbeTest, HeaderFormatReadsTheHeaderItem) {
  EXPECT_EQ(
      Probe({L"header-format", L"2"}).lines,
      Lines{R"({"column":2,"format":16386,"text":"Base port","width":105})"});
  EXPECT_EQ(Probe({L"header-format", L"7"}).exitCode, 1);
}

TEST_F(ProbeTest, HeadersListsEveryColumn) {
  const ProbeRun run = Probe({L"headers"});
  ASSERT_EQ(run.lines.size(), 7u);
  EXPECT_EQ(JsonField(run.lines[0], "text"), "\"IP address\"");
  EXPECT_EQ(JsonField(run.lines[6], "text"), "\"Firmware\"");
}

TEST_F(ProbeTest, ClickHeaderRaisesTheColumnClick) {
  EXPECT_EQ(Probe({L"click-header", L"2"}).exitCode, 0);
  EXPECT_TRUE(Reported(L"column 2 clicked"));
  EXPECT_EQ(JsonField(Probe({L"header-format", L"2"}).lines.at(0), "format"),
            std::to_string(target::SORTED_HEADER_FORMAT));
  EXPECT_EQ(JsonField(Probe({L"header-format", L"1"}).lines.at(0), "format"),
            std::to_string(target::HEADER_FORMAT));
}

TEST_F(ProbeTest, WaitHeaderFormatFollowsTheClick) {
  const std::wstring sorted = std::to_wstring(target::SORTED_HEADER_FORMAT);
  EXPECT_EQ(ProbeNow({L"wait-header-format", L"4", sorted}).exitCode, 1);
  EXPECT_EQ(Probe({L"click-header", L"4"}).exitCode, 0);
  const ProbeRun run = Probe({L"wait-header-format", L"4", sorted});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(JsonField(run.lines.at(0), "text"), R"("IP mode")");
}

TEST_F(ProbeTest, ClickHeaderOfAMissingColumnIsNotThere) {
  EXPECT_EQ(Probe({L"click-header", L"9"}).exitCode, 1);
}

}  // namespace
