// The search cycle of the device view against the simulated devices on the
// other end of the test link (five devices in 10.92.0.0/24), and with the
// discovery port held by another process.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/messages/window_messages.h"
#include "core/engine/engine.h"
#include "core/engine/notify.h"
#include "core/engine/port_conflict.h"
#include "res/resource.h"
#include "tests/support/peer.h"
#include "tests/support/port_holder.h"
#include "tests/support/replies.h"
#include "tests/view/view_fixture.h"

namespace {

constexpr UINT ENABLE = WM_ENABLE_TOOL;
constexpr UINT DISABLE = WM_DISABLE_TOOL;

std::wstring FoundText(ViewFixture& f) {
  wchar_t text[64] = L"";
  GetDlgItemTextW(f.view().handle(), IDC_FOUND_TEXT, text, 64);
  return text;
}

bool Enabled(ViewFixture& f, int id) {
  return IsWindowEnabled(GetDlgItem(f.view().handle(), id)) != FALSE;
}

TEST(ViewSearch, ControlsAreTakenDuringASearchAndGivenBackAfterIt) {
  ASSERT_TRUE(OnIsolatedTestNetwork());
  ViewFixture f;
  for (int search = 0; search < 2; ++search) {
    SCOPED_TRACE(search);
    SendMessageW(f.view().handle(), WM_VIEW_COMMAND, ID_DEVICE_SEARCH, 0);
    EXPECT_TRUE(f.view().Searching());
    EXPECT_FALSE(Enabled(f, IDC_DEVICE_LIST));
    EXPECT_FALSE(Enabled(f, IDC_SELECT_ALL));
    EXPECT_EQ(f.Rows(), 0) << "the rows of the last search are cleared";
    EXPECT_EQ(FoundText(f), L"Found 0 devices");
    EXPECT_EQ(f.TakeToolRequests(),
              (std::vector<ToolRequestSeen>{{DISABLE, ID_DEVICE_SEARCH},
                                            {DISABLE, ID_DEVICE_IP_CHANGE},
                                            {DISABLE, ID_DEVICE_WEB_PAGE}}));
    ViewFixture::Pump(3600);
    EXPECT_FALSE(f.view().Searching());
    EXPECT_TRUE(Enabled(f, IDC_DEVICE_LIST));
    EXPECT_TRUE(Enabled(f, IDC_SELECT_ALL));
    // Only the search command comes back; the other two wait for a click.
    EXPECT_EQ(f.TakeToolRequests(),
              (std::vector<ToolRequestSeen>{{ENABLE, ID_DEVICE_SEARCH}}));
    ASSERT_EQ(f.Rows(), 5);
    EXPECT_EQ(FoundText(f), L"Found 5 devices");
    for (int row = 1; row < 5; ++row)
      EXPECT_LT(f.Cell(row - 1, 0), f.Cell(row, 0));
  }
}

// The search's threads and the collision notice reach the view's window
// from other threads: they end while the window is destroyed, before its
// handle goes.
TEST(ViewSearch, ClosingTheWindowMidSearchEndsTheSearchAndTheNotice) {
  ASSERT_TRUE(OnIsolatedTestNetwork());
  ViewFixture f;
  SendMessageW(f.view().handle(), WM_VIEW_COMMAND, ID_DEVICE_SEARCH, 0);
  TestReply one, two;
  one.mac[5] = 1;
  two.mac[5] = 2;
  one.ip = two.ip = 0x0A000005u;
  f.view().DeliverReplies({Pending(one), Pending(two)});
  for (int i = 0; i < 100 && !ViewFixture::FindNotice(); ++i)
    ViewFixture::Pump(20);
  ASSERT_NE(ViewFixture::FindNotice(), nullptr);
  ASSERT_TRUE(DiscoveryRunning());
  DestroyWindow(f.view().handle());
  EXPECT_FALSE(DiscoveryRunning());
  EXPECT_EQ(ViewFixture::FindNotice(), nullptr);
}

std::vector<std::wstring> notices;
void CollectNotice(const std::wstring& text, const std::wstring& caption,
                   void*) {
  notices.push_back(caption + L": " + text);
}

TEST(ViewPortTaken, ShowsThePortReportThenTheStartErrorAndKeepsTheRows) {
  ASSERT_TRUE(OnIsolatedTestNetwork());
  ViewFixture f;
  TestReply device;
  device.mac = {2, 0, 0, 0, 0, 1};
  device.ip = 0x0A000001u;
  f.view().DeliverReplies({Pending(device)});
  ViewFixture::Pump(50);
  ASSERT_EQ(f.Rows(), 1);
  f.TakeToolRequests();

  notices.clear();
  const UserNotifier previous = SetUserNotifier(CollectNotice);
  SendMessageW(f.view().handle(), WM_VIEW_COMMAND, ID_DEVICE_SEARCH, 0);
  SetUserNotifier(previous);
  EXPECT_EQ(notices,
            (std::vector<std::wstring>{
                L"Quellan: " + PortConflictMessage(ExpectedPortHolderDetail()),
                L"Quellan: IP discovery module initialize error.\r\n"}));
  EXPECT_EQ(f.Rows(), 1);
  EXPECT_FALSE(f.view().Searching());
  EXPECT_TRUE(Enabled(f, IDC_DEVICE_LIST));
  EXPECT_EQ(f.TakeToolRequests(),
            (std::vector<ToolRequestSeen>{{DISABLE, ID_DEVICE_SEARCH},
                                          {ENABLE, ID_DEVICE_SEARCH}}));
}

// A multi-device change whose engine cannot start: after the port report
// nothing is sent, and no progress dialog opens that could never complete.
TEST(ViewPortTaken, MultiChangeOpensNoProgressWhenTheEngineCannotStart) {
  ASSERT_TRUE(OnIsolatedTestNetwork());
  ViewFixture f;
  TestReply first, second;
  first.mac = {2, 0, 0, 0, 0, 1};
  first.ip = 0x0A000001u;
  second.mac = {2, 0, 0, 0, 0, 2};
  second.ip = 0x0A000002u;
  f.view().DeliverReplies({Pending(first), Pending(second)});
  ViewFixture::Pump(50);
  ASSERT_EQ(f.Rows(), 2);
  f.SetChecked(0, true);
  f.SetChecked(1, true);
  const DeviceInfo firstBefore = f.view().Table().Row(0).record;
  const DeviceInfo secondBefore = f.view().Table().Row(1).record;

  // The multi-device dialog is accepted as it opens; any later dialog is
  // noted and closed.
  std::vector<std::wstring> dialogs;
  std::vector<HWND> seen;
  f.OnDialogIdle([&](HWND dialog) {
    if (std::find(seen.begin(), seen.end(), dialog) != seen.end()) return;
    seen.push_back(dialog);
    wchar_t caption[128] = L"";
    GetWindowTextW(dialog, caption, 128);
    dialogs.push_back(caption);
    PostMessageW(dialog, WM_COMMAND, seen.size() == 1 ? IDOK : IDCANCEL, 0);
  });
  notices.clear();
  const UserNotifier previous = SetUserNotifier(CollectNotice);
  SendMessageW(f.view().handle(), WM_VIEW_COMMAND, ID_DEVICE_IP_CHANGE, 0);
  SetUserNotifier(previous);

  ASSERT_EQ(dialogs.size(), 1u) << "only the multi-device dialog opens";
  ASSERT_FALSE(notices.empty());
  EXPECT_EQ(notices.front(),
            L"Quellan: " + PortConflictMessage(ExpectedPortHolderDetail()));
  EXPECT_EQ(f.view().Table().Row(0).record, firstBefore);
  EXPECT_EQ(f.view().Table().Row(1).record, secondBefore);
}

}  // namespace
