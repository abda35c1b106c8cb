#include "app/dialogs/ip_change_multi_dialog.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/dialogs/dialog_driver.h"

namespace {

TEST(IpChangeMultiDialog, OpensWithTheFixedDefaults) {
  CIPChangeMultiDlg dialog(3);
  std::uint32_t ip = 0, mask = 0, gateway = 0;
  std::wstring base, http, count, modeText;
  int mode = -2;
  RunDriven(dialog, [&](HWND hwnd) {
    mode = SelectedIndex(hwnd, IDC_MULTI_IP_MODE);
    modeText = TextOf(hwnd, IDC_MULTI_IP_MODE);
    ip = AddressOf(hwnd, IDC_MULTI_START_IP);
    mask = AddressOf(hwnd, IDC_MULTI_SUBNET_MASK);
    gateway = AddressOf(hwnd, IDC_MULTI_GATEWAY);
    base = TextOf(hwnd, IDC_MULTI_BASE_PORT);
    http = TextOf(hwnd, IDC_MULTI_HTTP_PORT);
    count = TextOf(hwnd, IDC_MULTI_SERVER_COUNT);
    PressButton(hwnd, IDCANCEL);
  });
  EXPECT_EQ(mode, 0);
  EXPECT_EQ(modeText, L"Fixed IP");
  EXPECT_EQ(ip, Numeric(192, 168, 10, 100));
  EXPECT_EQ(mask, Numeric(255, 255, 255, 0));
  EXPECT_EQ(gateway, Numeric(192, 168, 10, 1));
  EXPECT_EQ(base, L"2222");
  EXPECT_EQ(http, L"80");
  EXPECT_EQ(count, L"3 Servers are selected");
  EXPECT_STREQ(dialog.CaptionTitle(), L"IP change");
}

TEST(IpChangeMultiDialog, CountOfOneHasNoSingularForm) {
  CIPChangeMultiDlg dialog(1);
  std::wstring count;
  RunDriven(dialog, [&](HWND hwnd) {
    count = TextOf(hwnd, IDC_MULTI_SERVER_COUNT);
    PressButton(hwnd, IDCANCEL);
  });
  EXPECT_EQ(count, L"1 Servers are selected");
}

TEST(IpChangeMultiDialog, DefaultsAreAcceptedAsTheyStand) {
  NotificationCollector notes;
  CIPChangeMultiDlg dialog(2);
  const INT_PTR result =
      RunDriven(dialog, [&](HWND hwnd) { PressButton(hwnd, IDOK); });
  ASSERT_EQ(result, IDOK);
  EXPECT_TRUE(notes.All().empty());
  const IpSettings settings = dialog.Settings();
  EXPECT_EQ(settings.ipMode, 0);
  EXPECT_EQ(settings.ipAddress, Numeric(192, 168, 10, 100));
  EXPECT_EQ(settings.subnetMask, Numeric(255, 255, 255, 0));
  EXPECT_EQ(settings.gateway, Numeric(192, 168, 10, 1));
  EXPECT_EQ(settings.basePort, 2222);
  EXPECT_EQ(settings.httpPort, 80);
}

TEST(IpChangeMultiDialog, StartIpOutsideTheGatewaysSubnetIsRefused) {
  NotificationCollector notes;
  CIPChangeMultiDlg dialog(2);
  HWND shown = nullptr;
  bool openAfterChange = false;
  std::uint32_t start = 0;
  const INT_PTR result = RunDriven(dialog, [&](HWND hwnd) {
    shown = hwnd;
    SetAddress(hwnd, IDC_MULTI_START_IP, Numeric(10, 0, 0, 2));
    PressButton(hwnd, IDOK);
    openAfterChange = IsWindow(hwnd) && IsWindowVisible(hwnd);
    start = AddressOf(hwnd, IDC_MULTI_START_IP);
    PressButton(hwnd, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_TRUE(openAfterChange);
  EXPECT_EQ(start, Numeric(10, 0, 0, 2));
  ASSERT_EQ(notes.All().size(), 1u);
  EXPECT_EQ(notes.All()[0].text,
            L"Invalid network setting.\r\nPlease check IP address, Subnet "
            L"Mask, Gateway.");
  EXPECT_EQ(notes.All()[0].caption, L"Quellan");
  EXPECT_EQ(notes.All()[0].owner, shown);
}

TEST(IpChangeMultiDialog, BadPortsAreRefusedWithTheFocusOnTheirField) {
  struct Case {
    int field;
    const wchar_t* text;
    const wchar_t* message;
  };
  const Case cases[] = {
      {IDC_MULTI_HTTP_PORT, L"", L"Please insert a http port number.\r\n"},
      {IDC_MULTI_BASE_PORT, L"1024",
       L"Invalid base port number.\r\nBase port number must have a value of "
       L"1025~65535."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    CIPChangeMultiDlg dialog(2);
    const ChangeAttempt attempt = ChangeWithFieldText(dialog, c.field, c.text);
    EXPECT_EQ(attempt.result, IDCANCEL);
    ASSERT_EQ(attempt.notes.size(), 1u);
    EXPECT_EQ(attempt.notes[0].text, c.message);
    EXPECT_EQ(attempt.notes[0].caption, L"Quellan");
    EXPECT_TRUE(attempt.focusOnField);
  }
}

TEST(IpChangeMultiDialog, CloseReturnsTwoWhateverWasEntered) {
  CIPChangeMultiDlg dialog(2);
  EXPECT_EQ(RunDriven(dialog,
                      [&](HWND hwnd) {
                        SetDlgItemTextW(hwnd, IDC_MULTI_BASE_PORT, L"");
                        PressButton(hwnd, IDCANCEL);
                      }),
            IDCANCEL);
}

TEST(IpChangeMultiDialog, CaptionCloseButtonEndsWithTwo) {
  CIPChangeMultiDlg dialog(2);
  EXPECT_EQ(RunDriven(dialog, [&](HWND) { ClickCaptionClose(dialog); }),
            IDCANCEL);
}

TEST(IpChangeMultiDialog, EscapeEndsWithTwo) {
  CIPChangeMultiDlg dialog(2);
  EXPECT_EQ(RunDriven(dialog, [&](HWND hwnd) { PostEscape(hwnd); }), IDCANCEL);
}

}  // namespace
