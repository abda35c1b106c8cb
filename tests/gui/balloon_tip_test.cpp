#include <windows.h>

#include <cstdlib>
#include <string>

#include "res/resource.h"
#include "tests/gui/frame_fixture.h"
#include "winui/common_controls.h"

namespace {

class BalloonTipTest : public FrameTest {
 protected:
  HWND Tip() const { return frame.Toolbar().ToolTip(); }
  int Tracked() const { return frame.Toolbar().TrackedTool(); }

  // Puts the pointer on the middle of button `index` and tells the frame
  // the pointer moved.
  void RestOnButton(int index) { MoveTo(ButtonCentre(index)); }
  POINT ButtonCentre(int index) const {
    RECT button{};
    SendMessageW(ToolBar(), TB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&button));
    POINT middle{(button.left + button.right) / 2,
                 (button.top + button.bottom) / 2};
    ClientToScreen(ToolBar(), &middle);
    return middle;
  }
  void RestOnView() {
    RECT view{};
    GetWindowRect(View(), &view);
    MoveTo({(view.left + view.right) / 2, (view.top + view.bottom) / 2});
  }
  void MoveTo(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    SendMessageW(Frame(), WM_MOUSEMOVE, 0, 0);
  }
  std::wstring TipText(UINT tool) const {
    wchar_t text[128] = L"";
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = Frame();
    info.uId = tool;
    info.lpszText = text;
    SendMessageW(Tip(), TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&info));
    return text;
  }
};

TEST_F(BalloonTipTest, ToolsCarryTheirTwoLineTexts) {
  ASSERT_NE(Tip(), nullptr);
  EXPECT_EQ(SendMessageW(Tip(), TTM_GETTOOLCOUNT, 0, 0), 3);
  EXPECT_EQ(TipText(TOOL_ID_SEARCH),
            L"IP discovery\r\nSearch devices on local network.");
  EXPECT_EQ(TipText(TOOL_ID_IP_CHANGE),
            L"IP change\r\nChange a network setting of devices.");
  EXPECT_EQ(TipText(TOOL_ID_WEB_PAGE),
            L"Web page of devices\r\nOpen a web browser about a selected "
            L"device.");
  EXPECT_EQ(GetWindowLongW(Tip(), GWL_STYLE) & TTS_BALLOON, TTS_BALLOON);
  EXPECT_EQ(SendMessageW(Tip(), TTM_GETMAXTIPWIDTH, 0, 0), 300);
  EXPECT_EQ(Tracked(), -1);
  EXPECT_FALSE(IsWindowVisible(Tip()));
}

TEST_F(BalloonTipTest, RestingOnEachButtonShowsItsTip) {
  const UINT tools[] = {TOOL_ID_SEARCH, TOOL_ID_IP_CHANGE, TOOL_ID_WEB_PAGE};
  for (int i = 0; i < 3; ++i) {
    RestOnButton(i);
    EXPECT_EQ(Tracked(), static_cast<int>(tools[i]));
    EXPECT_TRUE(IsWindowVisible(Tip())) << "button " << i;
  }
}

TEST_F(BalloonTipTest, TipSitsAtTheBottomRightOfItsButton) {
  RestOnButton(1);
  RECT button{};
  SendMessageW(ToolBar(), TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&button));
  POINT corner{button.right, button.bottom};
  ClientToScreen(ToolBar(), &corner);
  RECT tip{};
  GetWindowRect(Tip(), &tip);
  EXPECT_LE(std::abs(tip.left - corner.x), 40);
  EXPECT_LE(std::abs(tip.top - corner.y), 40);
}

TEST_F(BalloonTipTest, LeavingTheToolbarHidesTheTip) {
  RestOnButton(1);
  ASSERT_TRUE(IsWindowVisible(Tip()));
  RestOnView();
  EXPECT_EQ(Tracked(), -1);
  EXPECT_FALSE(IsWindowVisible(Tip()));
}

TEST_F(BalloonTipTest, MouseMovesOfOtherWindowsReachTheFrame) {
  RestOnView();
  ASSERT_EQ(Tracked(), -1);
  const POINT target = ButtonCentre(2);
  SetCursorPos(target.x, target.y);
  MSG msg{View(), WM_MOUSEMOVE, 0, 0, 0, {0, 0}};
  loop.PreTranslate(msg);
  EXPECT_EQ(Tracked(), static_cast<int>(TOOL_ID_WEB_PAGE));
  EXPECT_TRUE(IsWindowVisible(Tip()));
}

TEST_F(BalloonTipTest, AClickHidesTheTipUntilThePointerLeaves) {
  ViewCommandTrap trap(View());
  RestOnButton(0);
  ASSERT_TRUE(IsWindowVisible(Tip()));
  SendMessageW(Frame(), WM_COMMAND, MAKEWPARAM(ID_DEVICE_SEARCH, BN_CLICKED),
               reinterpret_cast<LPARAM>(ToolBar()));
  EXPECT_FALSE(IsWindowVisible(Tip()));
  EXPECT_EQ(trap.Commands().size(), 1u);

  RestOnButton(0);
  EXPECT_FALSE(IsWindowVisible(Tip()));

  RestOnView();
  RestOnButton(0);
  EXPECT_TRUE(IsWindowVisible(Tip()));
  EXPECT_EQ(Tracked(), static_cast<int>(TOOL_ID_SEARCH));
}

TEST_F(BalloonTipTest, DisabledButtonsShowTheirTipsToo) {
  ASSERT_FALSE(
      SendMessageW(ToolBar(), TB_ISBUTTONENABLED, ID_DEVICE_WEB_PAGE, 0));
  RestOnButton(2);
  EXPECT_TRUE(IsWindowVisible(Tip()));
  EXPECT_EQ(Tracked(), static_cast<int>(TOOL_ID_WEB_PAGE));
}

}  // namespace
