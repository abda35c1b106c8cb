#include "app/dialogs/ip_change_dialog.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/dialogs/dialog_driver.h"

namespace {

DeviceInfo Device(std::int32_t mode, std::uint32_t ip, std::uint32_t mask,
                  std::uint32_t gateway, std::int32_t basePort,
                  std::int32_t httpPort) {
  DeviceInfo device;
  device.ipMode = mode;
  device.ipAddress = ip;
  device.subnetMask = mask;
  device.gateway = gateway;
  device.basePort = basePort;
  device.httpPort = httpPort;
  return device;
}

DeviceInfo GoodDevice() {
  return Device(1, Numeric(192, 168, 0, 20), Numeric(255, 255, 255, 0),
                Numeric(192, 168, 0, 1), 2222, 8080);
}

TEST(IpChangeDialog, ShowsTheDevicesSettings) {
  CIPChangeDlg dialog(GoodDevice());
  std::uint32_t ip = 0, mask = 0, gateway = 0;
  std::wstring base, http, modeText;
  int mode = -2;
  int entries = 0;
  const INT_PTR result = RunDriven(dialog, [&](HWND hwnd) {
    mode = SelectedIndex(hwnd, IDC_IP_MODE);
    entries = static_cast<int>(
        SendDlgItemMessageW(hwnd, IDC_IP_MODE, CB_GETCOUNT, 0, 0));
    modeText = TextOf(hwnd, IDC_IP_MODE);
    ip = AddressOf(hwnd, IDC_IP_ADDRESS);
    mask = AddressOf(hwnd, IDC_SUBNET_MASK);
    gateway = AddressOf(hwnd, IDC_GATEWAY);
    base = TextOf(hwnd, IDC_BASE_PORT);
    http = TextOf(hwnd, IDC_HTTP_PORT);
    PressButton(hwnd, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(entries, 3);
  EXPECT_EQ(mode, 1);
  EXPECT_EQ(modeText, L"DHCP");
  EXPECT_EQ(ip, Numeric(192, 168, 0, 20));
  EXPECT_EQ(mask, Numeric(255, 255, 255, 0));
  EXPECT_EQ(gateway, Numeric(192, 168, 0, 1));
  EXPECT_EQ(base, L"2222");
  EXPECT_EQ(http, L"8080");
  EXPECT_STREQ(dialog.CaptionTitle(), L"IP change");
}

TEST(IpChangeDialog, ModeListKeepsItsOrderDespiteTheSortStyle) {
  CIPChangeDlg dialog(GoodDevice());
  std::wstring texts[3];
  RunDriven(dialog, [&](HWND hwnd) {
    for (int i = 0; i < 3; ++i) {
      wchar_t text[64] = L"";
      SendDlgItemMessageW(hwnd, IDC_IP_MODE, CB_GETLBTEXT, i,
                          reinterpret_cast<LPARAM>(text));
      texts[i] = text;
    }
    PressButton(hwnd, IDCANCEL);
  });
  EXPECT_EQ(texts[0], L"Fixed IP");
  EXPECT_EQ(texts[1], L"DHCP");
  EXPECT_EQ(texts[2], L"PPPoE (ADSL)");
}

TEST(IpChangeDialog, ModeThreeShowsAnEmptyListAndComesBackAsMinusOne) {
  NotificationCollector notes;
  DeviceInfo device = GoodDevice();
  device.ipMode = 3;
  CIPChangeDlg dialog(device);
  int mode = 0;
  std::wstring modeText = L"?";
  const INT_PTR result = RunDriven(dialog, [&](HWND hwnd) {
    mode = SelectedIndex(hwnd, IDC_IP_MODE);
    modeText = TextOf(hwnd, IDC_IP_MODE);
    PressButton(hwnd, IDOK);
  });
  EXPECT_EQ(mode, CB_ERR);
  EXPECT_EQ(modeText, L"");
  EXPECT_EQ(result, IDOK);
  EXPECT_TRUE(notes.All().empty());
  EXPECT_EQ(dialog.Settings().ipMode, -1);
}

TEST(IpChangeDialog, AcceptedSettingsHaveAddressesInNetworkOrder) {
  NotificationCollector notes;
  CIPChangeDlg dialog(GoodDevice());
  const INT_PTR result =
      RunDriven(dialog, [&](HWND hwnd) { PressButton(hwnd, IDOK); });
  ASSERT_EQ(result, IDOK);
  EXPECT_TRUE(notes.All().empty());
  const IpSettings settings = dialog.Settings();
  EXPECT_EQ(settings.ipAddress, Numeric(192, 168, 0, 20));
  EXPECT_EQ(settings.ipMode, 1);
  EXPECT_EQ(settings.subnetMask, Numeric(255, 255, 255, 0));
  EXPECT_EQ(settings.gateway, Numeric(192, 168, 0, 1));
  EXPECT_EQ(settings.basePort, 2222);
  EXPECT_EQ(settings.httpPort, 8080);
}

TEST(IpChangeDialog, EditedValuesAreHandedOut) {
  NotificationCollector notes;
  CIPChangeDlg dialog(GoodDevice());
  const INT_PTR result = RunDriven(dialog, [&](HWND hwnd) {
    SendDlgItemMessageW(hwnd, IDC_IP_MODE, CB_SETCURSEL, 2, 0);
    SetAddress(hwnd, IDC_IP_ADDRESS, Numeric(10, 1, 2, 3));
    SetAddress(hwnd, IDC_SUBNET_MASK, Numeric(255, 0, 0, 0));
    SetAddress(hwnd, IDC_GATEWAY, Numeric(10, 0, 0, 1));
    SetDlgItemTextW(hwnd, IDC_BASE_PORT, L"4000");
    SetDlgItemTextW(hwnd, IDC_HTTP_PORT, L"80");
    PressButton(hwnd, IDOK);
  });
  ASSERT_EQ(result, IDOK);
  const IpSettings settings = dialog.Settings();
  EXPECT_EQ(settings.ipMode, 2);
  EXPECT_EQ(settings.ipAddress, Numeric(10, 1, 2, 3));
  EXPECT_EQ(settings.subnetMask, Numeric(255, 0, 0, 0));
  EXPECT_EQ(settings.gateway, Numeric(10, 0, 0, 1));
  EXPECT_EQ(settings.basePort, 4000);
  EXPECT_EQ(settings.httpPort, 80);
}

TEST(IpChangeDialog, GatewayOutsideTheSubnetIsRefusedAndTheDialogStaysOpen) {
  NotificationCollector notes;
  CIPChangeDlg dialog(Device(0, Numeric(10, 0, 0, 5), Numeric(255, 0, 0, 0),
                             Numeric(192, 168, 0, 1), 2222, 80));
  HWND shown = nullptr, httpField = nullptr;
  bool openAfterChange = false;
  HWND focusBefore = nullptr, focusAfter = nullptr;
  std::uint32_t ip = 0, mask = 0, gateway = 0;
  std::wstring base, http;
  int mode = -2;
  const INT_PTR result = RunDriven(dialog, [&](HWND hwnd) {
    shown = hwnd;
    httpField = GetDlgItem(hwnd, IDC_HTTP_PORT);
    SetFocus(httpField);
    focusBefore = GetFocus();
    PressButton(hwnd, IDOK);
    focusAfter = GetFocus();
    openAfterChange = IsWindow(hwnd) && IsWindowVisible(hwnd);
    mode = SelectedIndex(hwnd, IDC_IP_MODE);
    ip = AddressOf(hwnd, IDC_IP_ADDRESS);
    mask = AddressOf(hwnd, IDC_SUBNET_MASK);
    gateway = AddressOf(hwnd, IDC_GATEWAY);
    base = TextOf(hwnd, IDC_BASE_PORT);
    http = TextOf(hwnd, IDC_HTTP_PORT);
    PressButton(hwnd, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_TRUE(openAfterChange);
  ASSERT_EQ(notes.All().size(), 1u);
  EXPECT_EQ(notes.All()[0].text,
            L"Invalid network setting.\r\nPlease check IP address, Subnet "
            L"Mask, Gateway.");
  EXPECT_EQ(notes.All()[0].caption, L"Quellan");
  EXPECT_EQ(notes.All()[0].owner, shown);
  EXPECT_EQ(focusBefore, httpField);
  EXPECT_EQ(focusAfter, focusBefore);
  EXPECT_EQ(mode, 0);
  EXPECT_EQ(ip, Numeric(10, 0, 0, 5));
  EXPECT_EQ(mask, Numeric(255, 0, 0, 0));
  EXPECT_EQ(gateway, Numeric(192, 168, 0, 1));
  EXPECT_EQ(base, L"2222");
  EXPECT_EQ(http, L"80");
}

TEST(IpChangeDialog, BasePortMinusOneIsRefusedWithTheFocusOnIt) {
  NotificationCollector notes;
  DeviceInfo device = GoodDevice();
  device.basePort = -1;
  CIPChangeDlg dialog(device);
  std::wstring shownBase;
  HWND focus = nullptr, baseField = nullptr;
  const INT_PTR result = RunDriven(dialog, [&](HWND hwnd) {
    shownBase = TextOf(hwnd, IDC_BASE_PORT);
    baseField = GetDlgItem(hwnd, IDC_BASE_PORT);
    SetFocus(GetDlgItem(hwnd, IDOK));
    PressButton(hwnd, IDOK);
    focus = GetFocus();
    PressButton(hwnd, IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(shownBase, L"-1");
  ASSERT_EQ(notes.All().size(), 1u);
  EXPECT_EQ(notes.All()[0].text,
            L"Invalid base port number.\r\nBase port number must have a "
            L"value of 1025~65535.");
  EXPECT_EQ(notes.All()[0].caption, L"Quellan");
  EXPECT_EQ(focus, baseField);
}

TEST(IpChangeDialog, EmptyHttpPortPutsTheFocusOnIt) {
  CIPChangeDlg dialog(GoodDevice());
  const ChangeAttempt attempt = ChangeWithFieldText(dialog, IDC_HTTP_PORT, L"");
  EXPECT_EQ(attempt.result, IDCANCEL);
  ASSERT_EQ(attempt.notes.size(), 1u);
  EXPECT_EQ(attempt.notes[0].text, L"Please insert a http port number.\r\n");
  EXPECT_TRUE(attempt.focusOnField);
}

TEST(IpChangeDialog, AFixedInputIsAcceptedAfterARefusal) {
  NotificationCollector notes;
  DeviceInfo device = GoodDevice();
  device.basePort = 80;
  CIPChangeDlg dialog(device);
  const INT_PTR result = RunDriven(dialog, [&](HWND hwnd) {
    PressButton(hwnd, IDOK);
    SetDlgItemTextW(hwnd, IDC_BASE_PORT, L"1025");
    PressButton(hwnd, IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(notes.All().size(), 1u);
  EXPECT_EQ(dialog.Settings().basePort, 1025);
}

TEST(IpChangeDialog, CaptionCloseButtonEndsWithTwo) {
  CIPChangeDlg dialog(GoodDevice());
  EXPECT_EQ(RunDriven(dialog, [&](HWND) { ClickCaptionClose(dialog); }),
            IDCANCEL);
}

TEST(IpChangeDialog, EscapeEndsWithTwo) {
  CIPChangeDlg dialog(GoodDevice());
  EXPECT_EQ(RunDriven(dialog, [&](HWND hwnd) { PostEscape(hwnd); }), IDCANCEL);
}

TEST(IpChangeDialog, HasNoSystemMenu) {
  CIPChangeDlg dialog(GoodDevice());
  LONG style = WS_SYSMENU;
  RunDriven(dialog, [&](HWND hwnd) {
    style = GetWindowLongW(hwnd, GWL_STYLE);
    PressButton(hwnd, IDCANCEL);
  });
  EXPECT_EQ(style & WS_SYSMENU, 0);
}

}  // namespace
