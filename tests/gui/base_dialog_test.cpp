#include "app/dialogs/base_dialog.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/gui/gui_helpers.h"
#include "tests/gui/test_dialogs.h"

namespace {

// The least a dialog of the program adds to the base: its own
// initialisation and the two buttons that end it.
class TestDialog : public CBaseDialog {
 public:
  TestDialog() : CBaseDialog(IDD_TEST_DISABLED_DEFAULT, L"Test title") {}

 protected:
  winui::MessageResult ProcessMessage(const winui::Message& m) override {
    if (winui::MessageResult result = winui::Dispatch(*this, MAP, m)) {
      return result;
    }
    return CBaseDialog::ProcessMessage(m);
  }

 private:
  winui::MessageResult OnInitDialog(const winui::Message&) {
    return CommonInit();
  }
  winui::MessageResult OnEnd(const winui::Message& m) {
    End(LOWORD(m.wParam));
    return 0;
  }
  static constexpr winui::MessageMapEntry<TestDialog> MAP[] = {
      winui::OnMessage(WM_INITDIALOG, &TestDialog::OnInitDialog),
      winui::OnCommand(IDOK, &TestDialog::OnEnd),
      winui::OnCommand(IDCANCEL, &TestDialog::OnEnd),
  };
};

constexpr RECT OWNER_PLACE{200, 150, 800, 650};

LPARAM CloseButtonCentre(const CBaseDialog& dialog) {
  const CaptionRect& r = dialog.CloseButton().rect;
  return ScreenPointParam(dialog.handle(), (r.left + r.right) / 2,
                          (r.top + r.bottom) / 2);
}

void ClickClose(const CBaseDialog& dialog, LPARAM down, LPARAM up) {
  SendMessageW(dialog.handle(), WM_NCLBUTTONDOWN, HTCAPTION, down);
  SendMessageW(dialog.handle(), WM_NCLBUTTONUP, HTCAPTION, up);
}

TEST(BaseDialog, CloseButtonEndsWithTwoAlsoWithTheDefaultButtonDisabled) {
  TestDialog dialog;
  OwnerWindow owner(OWNER_PLACE, [&](HWND hwnd) {
    ASSERT_FALSE(IsWindowEnabled(GetDlgItem(hwnd, IDOK)));
    SendMessageW(hwnd, WM_NCPAINT, 1, 0);
    ClickClose(dialog, CloseButtonCentre(dialog), CloseButtonCentre(dialog));
  });
  EXPECT_EQ(dialog.RunModal(owner.handle()), 2);
  EXPECT_TRUE(owner.Probed());
}

TEST(BaseDialog, ReleaseAwayFromTheCloseButtonKeepsTheDialogOpen) {
  TestDialog dialog;
  bool stillOpen = false;
  OwnerWindow owner(OWNER_PLACE, [&](HWND hwnd) {
    SendMessageW(hwnd, WM_NCPAINT, 1, 0);
    const LPARAM away = ScreenPointParam(hwnd, 60, 60);
    ClickClose(dialog, CloseButtonCentre(dialog), away);
    RunPendingMessages();
    stillOpen = IsWindow(hwnd) && IsWindowVisible(hwnd);
    SendMessageW(hwnd, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(dialog.RunModal(owner.handle()), IDOK);
  EXPECT_TRUE(stillOpen);
}

TEST(BaseDialog, HasNoSystemMenuAndIsCentredOverItsOwner) {
  TestDialog dialog;
  RECT placed{};
  LONG style = 0;
  OwnerWindow owner(OWNER_PLACE, [&](HWND hwnd) {
    GetWindowRect(hwnd, &placed);
    style = GetWindowLongW(hwnd, GWL_STYLE);
    SendMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(dialog.RunModal(owner.handle()), IDCANCEL);
  EXPECT_EQ(style & WS_SYSMENU, 0);
  const LONG width = placed.right - placed.left;
  const LONG height = placed.bottom - placed.top;
  EXPECT_EQ(placed.left,
            (OWNER_PLACE.left + OWNER_PLACE.right) / 2 - width / 2);
  EXPECT_EQ(placed.top,
            (OWNER_PLACE.top + OWNER_PLACE.bottom) / 2 - height / 2);
}

TEST(BaseDialog, StaticTextsAndBackgroundUseTheDialogColour) {
  TestDialog dialog;
  LRESULT brush = 0;
  COLORREF textBackground = 0;
  COLORREF client = 0;
  OwnerWindow owner(OWNER_PLACE, [&](HWND hwnd) {
    HWND label = GetDlgItem(hwnd, IDC_TEST_LABEL);
    HDC dc = GetDC(label);
    SetBkColor(dc, RGB(1, 2, 3));
    brush = SendMessageW(hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(label));
    textBackground = GetBkColor(dc);
    ReleaseDC(label, dc);
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    client = ClientPixel(hwnd, 5, 60);
    SendMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
  });
  dialog.RunModal(owner.handle());
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(textBackground, RGB(232, 236, 246));
  EXPECT_EQ(client, RGB(232, 236, 246));
}

TEST(BaseDialog, FrameIsPaintedActiveAndInactive) {
  TestDialog dialog;
  COLORREF active[3] = {};
  COLORREF inactive[3] = {};
  int bx = 0;
  OwnerWindow owner(OWNER_PLACE, [&](HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    const int W = rect.right - rect.left;
    const int H = rect.bottom - rect.top;
    bx = GetSystemMetrics(SM_CXDLGFRAME);
    SendMessageW(hwnd, WM_NCPAINT, 1, 0);
    active[0] = WindowPixel(hwnd, W / 2, 0);
    active[1] = WindowPixel(hwnd, 0, H / 2);
    active[2] = WindowPixel(hwnd, W / 2, H - 1);
    EXPECT_EQ(SendMessageW(hwnd, WM_NCACTIVATE, FALSE, 0), 1);
    inactive[0] = WindowPixel(hwnd, W / 2, 0);
    inactive[1] = WindowPixel(hwnd, 0, H / 2);
    inactive[2] = WindowPixel(hwnd, W / 2, H - 1);
    SendMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
  });
  dialog.RunModal(owner.handle());
  EXPECT_EQ(active[0], Grey(190));
  EXPECT_EQ(active[1], Grey(0));
  EXPECT_EQ(active[2], Grey(0));
  EXPECT_EQ(inactive[0], Grey(240));
  EXPECT_EQ(inactive[1], Grey(50));
  EXPECT_EQ(inactive[2], Grey(50));
}

TEST(BaseDialog, CloseButtonRectangleIsEmptyBeforeTheFirstPaint) {
  TestDialog dialog;
  EXPECT_EQ(dialog.CloseButton().rect.right, 0);
  EXPECT_EQ(dialog.CloseButton().rect.bottom, 0);
  EXPECT_STREQ(dialog.CaptionTitle(), L"Test title");
}

}  // namespace
