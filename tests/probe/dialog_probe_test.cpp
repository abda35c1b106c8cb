#include <string>
#include <vector>

#include "tests/probe/json_field.h"
#include "tests/probe/probe_fixture.h"

namespace {

using Lines = std::vector<std::string>;

// The line of the control `id` in the output of "dialog".
std::string ControlLine(const ProbeRun& run, int id) {
  for (const std::string& line : run.lines) {
    if (JsonField(line, "id") == std::to_string(id)) return line;
  }
  return "";
}

class DialogProbeTest : public ProbeTest {
 protected:
  void OpenDialog() {
    ASSERT_EQ(Probe({L"command", L"32778"}).exitCode, 0);
    ASSERT_EQ(Probe({L"dialog"}).exitCode, 0);
  }
};

TEST_F(ProbeTest, NoDialogIsNotThere) {
  EXPECT_EQ(ProbeNow({L"dialog"}).exitCode, 1);
  EXPECT_EQ(ProbeNow({L"message-box"}).exitCode, 1);
}

TEST_F(ProbeTest, MessageBoxIsReadAndDismissed) {
  ASSERT_EQ(Probe({L"command", L"32780"}).exitCode, 0);
  const ProbeRun box = Probe({L"message-box"});
  ASSERT_EQ(box.exitCode, 0);
  ASSERT_EQ(box.lines.size(), 1u);
  EXPECT_EQ(JsonField(box.lines[0], "title"), R"("Quellan")");
  EXPECT_EQ(JsonField(box.lines[0], "text"),
            R"("Probe target message.\r\nSecond line.")");
  EXPECT_EQ(JsonField(box.lines[0], "icon"), "true");
  EXPECT_EQ(JsonField(box.lines[0], "buttons"),
            R"([{"id":1,"text":"OK","enabled":true,"default":true}])");
  const ProbeRun dismissed = Probe({L"dismiss"});
  EXPECT_EQ(dismissed.exitCode, 0);
  EXPECT_EQ(JsonField(dismissed.lines.at(0), "closed"), "true");
  EXPECT_TRUE(Reported(L"message box closed 1"));
  EXPECT_EQ(ProbeNow({L"message-box"}).exitCode, 1);
}

TEST_F(DialogProbeTest, DialogListsItsControls) {
  OpenDialog();
  const ProbeRun run = Probe({L"dialog"});
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_EQ(JsonField(run.lines.at(0), "title"), R"("Probe change")");
  EXPECT_EQ(JsonField(run.lines.at(0), "message_box"), "false");
  const std::string address = ControlLine(run, target::ADDRESS_ID);
  EXPECT_EQ(JsonField(address, "class"), R"("SysIPAddress32")");
  EXPECT_EQ(JsonField(address, "address"), R"("192.168.0.10")");
  EXPECT_EQ(JsonField(address, "filled"), "4");
  const std::string combo = ControlLine(run, target::MODE_COMBO_ID);
  EXPECT_EQ(JsonField(combo, "selected"), "0");
  EXPECT_EQ(JsonField(combo, "items"),
            R"j(["Fixed IP","DHCP","PPPoE (ADSL)"])j");
  const std::string port = ControlLine(run, target::PORT_ID);
  EXPECT_EQ(JsonField(port, "text"), R"("2222")");
  EXPECT_EQ(JsonField(port, "focused"), "true");
  EXPECT_EQ(JsonField(ControlLine(run, target::COMPLETE_ID), "enabled"),
            "false");
  EXPECT_EQ(JsonField(ControlLine(run, IDOK), "text"), R"("Change")");
}

TEST_F(DialogProbeTest, EnteredValuesReachTheDialog) {
  OpenDialog();
  EXPECT_EQ(Probe({L"dialog-set", L"1015", L"3000"}).lines,
            Lines{R"({"id":1015,"text":"3000"})"});
  EXPECT_EQ(Probe({L"dialog-ip", L"1012", L"10.1.2.3"}).lines,
            Lines{R"({"id":1012,"address":"10.1.2.3","filled":4})"});
  EXPECT_EQ(Probe({L"dialog-combo", L"1011", L"2"}).lines,
            Lines{R"j({"id":1011,"selected":2,"text":"PPPoE (ADSL)"})j"});
  EXPECT_TRUE(Reported(L"selchange 2"));
  EXPECT_EQ(Probe({L"dialog-click", L"1"}).lines,
            Lines{R"({"id":1,"clicked":true})"});
  EXPECT_TRUE(Reported(L"dialog 1 10.1.2.3 3000 2"));
  EXPECT_EQ(ProbeNow({L"dialog"}).exitCode, 1);
}

TEST_F(DialogProbeTest, TextsOutsideTheEditsRulesAreSetToo) {
  OpenDialog();
  EXPECT_EQ(Probe({L"dialog-set", L"1015", L"-1"}).exitCode, 0);
  EXPECT_EQ(Probe({L"dialog-set", L"1015", L""}).lines,
            Lines{R"({"id":1015,"text":""})"});
}

TEST_F(DialogProbeTest, DisabledButtonIsNotPressed) {
  OpenDialog();
  EXPECT_EQ(Probe({L"dialog-click", L"1020"}).exitCode, 1);
  EXPECT_EQ(Probe({L"dialog-click", L"1099"}).exitCode, 1);
  EXPECT_EQ(Probe({L"dialog-combo", L"1011", L"5"}).exitCode, 1);
  EXPECT_EQ(Probe({L"dialog"}).exitCode, 0);
}

TEST_F(DialogProbeTest, DismissWithCloseEndsTheDialog) {
  OpenDialog();
  const ProbeRun run = Probe({L"dismiss", L"2"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(JsonField(run.lines.at(0), "id"), "2");
  EXPECT_TRUE(Reported(L"dialog 2"));
}

}  // namespace
