#include <windows.h>

#include "app/messages/window_messages.h"
#include "res/resource.h"
#include "tests/gui/frame_fixture.h"
#include "winui/common_controls.h"

namespace {

TEST_F(FrameTest, StartsAt1024By768CentredOnTheWorkArea) {
  RECT rect{};
  GetWindowRect(Frame(), &rect);
  EXPECT_EQ(rect.right - rect.left, 1024);
  EXPECT_EQ(rect.bottom - rect.top, 768);

  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromWindow(Frame(), MONITOR_DEFAULTTONEAREST), &info);
  const RECT& area = info.rcWork;
  EXPECT_EQ(rect.left, (area.left + area.right) / 2 - 512);
  EXPECT_EQ(rect.top, (area.top + area.bottom) / 2 - 384);
}

TEST_F(FrameTest, WindowTextIsTheProgramName) {
  wchar_t text[32] = L"";
  GetWindowTextW(Frame(), text, 32);
  EXPECT_STREQ(text, L"Quellan");
}

TEST_F(FrameTest, CanNotBeDraggedSmallerThan1024By768) {
  MINMAXINFO info{};
  info.ptMinTrackSize = {100, 30};
  EXPECT_EQ(SendMessageW(Frame(), WM_GETMINMAXINFO, 0,
                         reinterpret_cast<LPARAM>(&info)),
            0);
  EXPECT_EQ(info.ptMinTrackSize.x, 1024);
  EXPECT_EQ(info.ptMinTrackSize.y, 768);

  info.ptMinTrackSize = {1200, 900};
  SendMessageW(Frame(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 1200);
  EXPECT_EQ(info.ptMinTrackSize.y, 768);
}

TEST_F(FrameTest, HasNoSystemMenuAndNoWindowMenu) {
  EXPECT_EQ(GetWindowLongW(Frame(), GWL_STYLE) & WS_SYSMENU, 0);
  EXPECT_EQ(GetMenu(Frame()), nullptr);
}

TEST_F(FrameTest, OnlyTheSearchButtonIsEnabledAtStart) {
  ASSERT_EQ(SendMessageW(ToolBar(), TB_BUTTONCOUNT, 0, 0), 3);
  EXPECT_TRUE(SendMessageW(ToolBar(), TB_ISBUTTONENABLED, ID_DEVICE_SEARCH, 0));
  EXPECT_FALSE(
      SendMessageW(ToolBar(), TB_ISBUTTONENABLED, ID_DEVICE_IP_CHANGE, 0));
  EXPECT_FALSE(
      SendMessageW(ToolBar(), TB_ISBUTTONENABLED, ID_DEVICE_WEB_PAGE, 0));
}

TEST_F(FrameTest, ButtonsAre67By67InTheSecondBand) {
  const LRESULT size = SendMessageW(ToolBar(), TB_GETBUTTONSIZE, 0, 0);
  EXPECT_EQ(LOWORD(size), 67);
  EXPECT_EQ(HIWORD(size), 67);

  HWND rebar = frame.bar();
  ASSERT_EQ(SendMessageW(rebar, RB_GETBANDCOUNT, 0, 0), 2);
  REBARBANDINFOW band{};
  band.cbSize = REBARBANDINFOW_V6_SIZE;
  band.fMask = RBBIM_CHILD | RBBIM_ID;
  SendMessageW(rebar, RB_GETBANDINFOW, 0, reinterpret_cast<LPARAM>(&band));
  EXPECT_EQ(band.hwndChild, frame.CommandBar().handle());
  EXPECT_EQ(band.wID, 0xEB00u);
  SendMessageW(rebar, RB_GETBANDINFOW, 1, reinterpret_cast<LPARAM>(&band));
  EXPECT_EQ(band.hwndChild, ToolBar());
  EXPECT_EQ(band.wID, 0xEB01u);
  EXPECT_EQ(GetDlgCtrlID(ToolBar()), 0xE800);
}

TEST_F(FrameTest, EnableAndDisableToolChangeExactlyTheNamedButton) {
  EXPECT_EQ(SendMessageW(Frame(), WM_ENABLE_TOOL, ID_DEVICE_WEB_PAGE, 0), 0);
  EXPECT_TRUE(SendMessageW(ToolBar(), TB_ISBUTTONENABLED, ID_DEVICE_SEARCH, 0));
  EXPECT_FALSE(
      SendMessageW(ToolBar(), TB_ISBUTTONENABLED, ID_DEVICE_IP_CHANGE, 0));
  EXPECT_TRUE(
      SendMessageW(ToolBar(), TB_ISBUTTONENABLED, ID_DEVICE_WEB_PAGE, 0));

  EXPECT_EQ(SendMessageW(Frame(), WM_DISABLE_TOOL, ID_DEVICE_SEARCH, 0), 0);
  EXPECT_FALSE(
      SendMessageW(ToolBar(), TB_ISBUTTONENABLED, ID_DEVICE_SEARCH, 0));
  EXPECT_FALSE(
      SendMessageW(ToolBar(), TB_ISBUTTONENABLED, ID_DEVICE_IP_CHANGE, 0));
  EXPECT_TRUE(
      SendMessageW(ToolBar(), TB_ISBUTTONENABLED, ID_DEVICE_WEB_PAGE, 0));

  SendMessageW(Frame(), WM_ENABLE_TOOL, ID_DEVICE_IP_CHANGE, 0);
  EXPECT_TRUE(
      SendMessageW(ToolBar(), TB_ISBUTTONENABLED, ID_DEVICE_IP_CHANGE, 0));
  EXPECT_FALSE(
      SendMessageW(ToolBar(), TB_ISBUTTONENABLED, ID_DEVICE_SEARCH, 0));
}

TEST_F(FrameTest, ToolbarCommandsGoToTheViewAsViewCommand) {
  ViewCommandTrap trap(View());
  SentMessageLog log;
  for (UINT id : {ID_DEVICE_SEARCH, ID_DEVICE_IP_CHANGE, ID_DEVICE_WEB_PAGE}) {
    EXPECT_EQ(SendMessageW(Frame(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                           reinterpret_cast<LPARAM>(ToolBar())),
              0);
  }
  EXPECT_EQ(trap.Commands(),
            (std::vector<WPARAM>{ID_DEVICE_SEARCH, ID_DEVICE_IP_CHANGE,
                                 ID_DEVICE_WEB_PAGE}));
  const std::vector<SentMessage> sent = log.Of(View(), WM_VIEW_COMMAND);
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0].lParam, 0);
}

TEST_F(FrameTest, ViewFillsTheClientAreaBelowTheRebar) {
  RunPendingMessages();
  RECT client{};
  GetClientRect(Frame(), &client);
  RECT bar{};
  GetWindowRect(frame.bar(), &bar);
  RECT view{};
  GetWindowRect(View(), &view);
  MapWindowPoints(nullptr, Frame(), reinterpret_cast<POINT*>(&view), 2);
  EXPECT_EQ(view.left, 0);
  EXPECT_EQ(view.top, bar.bottom - bar.top);
  EXPECT_EQ(view.right, client.right);
  EXPECT_EQ(view.bottom, client.bottom);
  EXPECT_EQ(frame.View().Frame(), Frame());
  EXPECT_EQ(GetParent(View()), Frame());
}

TEST_F(FrameTest, FileExitEndsTheLoopWithExitCodeOne) {
  PostMessageW(Frame(), WM_COMMAND, ID_APP_EXIT, 0);
  EXPECT_EQ(loop.Run(), 1);
  EXPECT_FALSE(IsWindow(Frame()));
}

TEST_F(FrameTest, HelpAboutShowsTheAboutBoxOwnedByTheActiveWindow) {
  SetActiveWindow(Frame());
  HWND about = nullptr;
  HWND owner = nullptr;
  SentMessageLog log([&](const SentMessage& m) {
    if (m.message != WM_INITDIALOG) return;
    about = m.hwnd;
    owner = GetWindow(m.hwnd, GW_OWNER);
    PostMessageW(m.hwnd, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(SendMessageW(Frame(), WM_COMMAND, ID_HELP_ABOUT, 0), 0);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(owner, Frame());
  EXPECT_FALSE(IsWindow(about));
}

TEST_F(FrameTest, MaximizedFlagFollowsTheSizeNotifications) {
  SendMessageW(Frame(), WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(1280, 1000));
  EXPECT_TRUE(frame.Caption().Maximized());
  SendMessageW(Frame(), WM_SIZE, SIZE_MINIMIZED, 0);
  EXPECT_TRUE(frame.Caption().Maximized());
  SendMessageW(Frame(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(1000, 700));
  EXPECT_FALSE(frame.Caption().Maximized());
}

// The accelerator table is translated by the loop and its commands have no
// handler: the key chords are swallowed and nothing happens.
struct Chord {
  UINT key;
  bool control;
  bool shift;
  UINT command;
};

class AcceleratorTest : public FrameTest,
                        public ::testing::WithParamInterface<Chord> {};

TEST_P(AcceleratorTest, ChordIsSwallowed) {
  const Chord chord = GetParam();
  BYTE keys[256] = {};
  if (chord.control) keys[VK_CONTROL] = 0x80;
  if (chord.shift) keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);

  HWND list = GetDlgItem(View(), IDC_DEVICE_LIST);
  ASSERT_NE(list, nullptr);
  SetFocus(list);
  SentMessageLog log;
  MSG msg{list, WM_KEYDOWN, chord.key, 1, 0, {0, 0}};
  EXPECT_TRUE(loop.PreTranslate(msg));

  const std::vector<SentMessage> commands = log.Of(Frame(), WM_COMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(LOWORD(commands[0].wParam), chord.command);
  EXPECT_EQ(HIWORD(commands[0].wParam), 1);
  EXPECT_EQ(log.Count(View(), WM_VIEW_COMMAND), 0);
  EXPECT_EQ(log.Count(list, WM_KEYDOWN), 0);
  EXPECT_TRUE(IsWindow(Frame()));
  EXPECT_TRUE(IsWindowVisible(Frame()));

  const BYTE none[256] = {};
  SetKeyboardState(const_cast<BYTE*>(none));
}

INSTANTIATE_TEST_SUITE_P(
    Chords, AcceleratorTest,
    ::testing::Values(Chord{'S', true, false, ID_FILE_SAVE},
                      Chord{'N', true, false, ID_FILE_NEW},
                      Chord{'O', true, false, ID_FILE_OPEN},
                      Chord{'P', true, false, ID_FILE_PRINT},
                      Chord{VK_F6, false, false, ID_NEXT_PANE},
                      Chord{VK_F6, false, true, ID_PREV_PANE}));

}  // namespace
