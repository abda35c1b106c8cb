#include <windows.h>

#include <string>

#include "res/resource.h"
#include "tests/gui/frame_fixture.h"
#include "winui/common_controls.h"

namespace {

class MenuBarTest : public FrameTest {
 protected:
  HWND Bar() const { return frame.CommandBar().handle(); }
  HMENU Popup(int index) const {
    return GetSubMenu(frame.CommandBar().menu(), index);
  }
  std::wstring ButtonText(int index) const {
    TBBUTTON button{};
    SendMessageW(Bar(), TB_GETBUTTON, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&button));
    wchar_t text[64] = L"";
    SendMessageW(Bar(), TB_GETBUTTONTEXTW,
                 static_cast<WPARAM>(button.idCommand),
                 reinterpret_cast<LPARAM>(text));
    return text;
  }
  LPARAM ButtonCentre(int index) const {
    RECT button{};
    SendMessageW(Bar(), TB_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&button));
    return MAKELPARAM((button.left + button.right) / 2,
                      (button.top + button.bottom) / 2);
  }
  // Keys for the popup menu loop, which reads the thread's queue.
  void QueueKey(UINT key) { PostMessageW(Frame(), WM_KEYDOWN, key, 1); }
  std::vector<HMENU> OpenedPopups(const SentMessageLog& log) const {
    std::vector<HMENU> popups;
    for (const SentMessage& m : log.Of(Frame(), WM_INITMENUPOPUP)) {
      popups.push_back(reinterpret_cast<HMENU>(m.wParam));
    }
    return popups;
  }
};

TEST_F(MenuBarTest, ShowsTheTopLevelItemsOfTheMenu) {
  ASSERT_EQ(SendMessageW(Bar(), TB_BUTTONCOUNT, 0, 0), 2);
  EXPECT_EQ(ButtonText(0), L"&File");
  EXPECT_EQ(ButtonText(1), L"Help");
  EXPECT_EQ(GetMenuItemID(Popup(0), 0), static_cast<UINT>(ID_APP_EXIT));
  EXPECT_EQ(GetMenuItemID(Popup(1), 0), static_cast<UINT>(ID_HELP_ABOUT));
}

TEST_F(MenuBarTest, AClickDropsThePopupUnderTheButton) {
  SentMessageLog log;
  QueueKey(VK_ESCAPE);
  SendMessageW(Bar(), WM_LBUTTONDOWN, MK_LBUTTON, ButtonCentre(1));
  const std::vector<HMENU> popups = OpenedPopups(log);
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0], Popup(1));
  EXPECT_TRUE(IsWindow(Frame()));
}

TEST_F(MenuBarTest, AltWithTheMnemonicDropsThePopup) {
  SentMessageLog log;
  QueueKey(VK_ESCAPE);
  MSG msg{View(), WM_SYSKEYDOWN, 'F', 0x20000001, 0, {0, 0}};
  EXPECT_TRUE(loop.PreTranslate(msg));
  const std::vector<HMENU> popups = OpenedPopups(log);
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0], Popup(0));
}

TEST_F(MenuBarTest, AltAloneOrF10DropsTheFirstPopup) {
  SentMessageLog log;
  QueueKey(VK_ESCAPE);
  MSG down{View(), WM_SYSKEYDOWN, VK_MENU, 0x20380001, 0, {0, 0}};
  MSG up{View(), WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xC0380001),
         0,      {0, 0}};
  loop.PreTranslate(down);
  EXPECT_TRUE(loop.PreTranslate(up));
  QueueKey(VK_ESCAPE);
  MSG f10{View(), WM_SYSKEYDOWN, VK_F10, 0x00440001, 0, {0, 0}};
  EXPECT_TRUE(loop.PreTranslate(f10));
  const std::vector<HMENU> popups = OpenedPopups(log);
  ASSERT_EQ(popups.size(), 2u);
  EXPECT_EQ(popups[0], Popup(0));
  EXPECT_EQ(popups[1], Popup(0));
}

TEST_F(MenuBarTest, AltChordOpensNothing) {
  SentMessageLog log;
  MSG down{View(), WM_SYSKEYDOWN, VK_MENU, 0x20380001, 0, {0, 0}};
  MSG other{View(), WM_SYSKEYDOWN, 'Q', 0x20100001, 0, {0, 0}};
  MSG up{View(), WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xC0380001),
         0,      {0, 0}};
  loop.PreTranslate(down);
  loop.PreTranslate(other);
  loop.PreTranslate(up);
  EXPECT_TRUE(OpenedPopups(log).empty());
}

TEST_F(MenuBarTest, ArrowKeysMoveToTheNextPopup) {
  SentMessageLog log([this](const SentMessage& m) {
    if (m.message != WM_INITMENUPOPUP) return;
    QueueKey(reinterpret_cast<HMENU>(m.wParam) == Popup(0) ? VK_RIGHT
                                                           : VK_ESCAPE);
  });
  SendMessageW(Bar(), WM_LBUTTONDOWN, MK_LBUTTON, ButtonCentre(0));
  const std::vector<HMENU> popups = OpenedPopups(log);
  ASSERT_EQ(popups.size(), 2u);
  EXPECT_EQ(popups[0], Popup(0));
  EXPECT_EQ(popups[1], Popup(1));
}

TEST_F(MenuBarTest, FileExitFromTheMenuEndsWithExitCodeOne) {
  QueueKey(VK_DOWN);
  QueueKey(VK_RETURN);
  SendMessageW(Bar(), WM_LBUTTONDOWN, MK_LBUTTON, ButtonCentre(0));
  EXPECT_EQ(loop.Run(), 1);
  EXPECT_FALSE(IsWindow(Frame()));
}

}  // namespace
