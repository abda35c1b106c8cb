// The device view as a window: real list control, messages sent, the
// commands' enable requests and the list's contents checked.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "app/messages/window_messages.h"
#include "app/view/web_launcher.h"
#include "res/resource.h"
#include "tests/support/replies.h"
#include "tests/view/view_fixture.h"

namespace {

constexpr UINT ENABLE = WM_ENABLE_TOOL;
constexpr UINT DISABLE = WM_DISABLE_TOOL;

TestReply Device(std::uint8_t id, std::uint32_t ip, const char* model = "CAM") {
  TestReply reply;
  reply.mac = {0x02, 0x00, 0x00, 0x00, 0x00, id};
  reply.ip = ip;
  reply.model = model;
  reply.httpPort = 8000 + id;
  return reply;
}

// Three devices, delivered out of IP text order.
void DeliverThree(ViewFixture& f) {
  f.view().DeliverReplies({Pending(Device(1, 0xC0A80009u, "B")),    // .0.9
                           Pending(Device(2, 0xC0A8000Au, "C")),    // .0.10
                           Pending(Device(3, 0x0A000001u, "A"))});  // 10.0.0.1
  ViewFixture::Pump(50);
}

std::vector<std::wstring> Column(ViewFixture& f, int column) {
  std::vector<std::wstring> texts;
  for (int row = 0; row < f.Rows(); ++row) texts.push_back(f.Cell(row, column));
  return texts;
}

TEST(DeviceView, ColumnsAndWidthsAtWidth740) {
  ViewFixture f(740, 500);
  const wchar_t* headings[] = {L"IP address", L"MAC address", L"Base port",
                               L"HTTP port",  L"IP mode",     L"Model name",
                               L"Firmware"};
  const int widths[] = {100, 100, 95, 95, 100, 100, 100};
  for (int c = 0; c < 7; ++c) {
    wchar_t text[64] = L"";
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = text;
    column.cchTextMax = 64;
    ASSERT_TRUE(SendMessageW(f.list(), LVM_GETCOLUMNW, c,
                             reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(text, headings[c]);
    EXPECT_EQ(column.cx, widths[c]) << c;
  }
  RECT list;
  GetWindowRect(f.list(), &list);
  MapWindowPoints(nullptr, f.view().handle(), reinterpret_cast<POINT*>(&list),
                  2);
  EXPECT_EQ(list.left, 20);
  EXPECT_EQ(list.top, 60);
  EXPECT_EQ(list.right, 720);
  EXPECT_EQ(list.bottom, 480);
  const LRESULT styles =
      SendMessageW(f.list(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  EXPECT_EQ(styles & 0x10025, 0x10025);
  wchar_t found[64] = L"";
  GetDlgItemTextW(f.view().handle(), IDC_FOUND_TEXT, found, 64);
  EXPECT_STREQ(found, L"Found 0 devices");
}

TEST(DeviceView, BatchesBecomeRowsSortedByIpText) {
  ViewFixture f;
  DeliverThree(f);
  EXPECT_EQ(Column(f, 0), (std::vector<std::wstring>{
                              L"10.0.0.1", L"192.168.0.10", L"192.168.0.9"}));
  EXPECT_EQ(f.Cell(0, 5), L"A");
  EXPECT_EQ(f.Cell(0, 1), L"02:00:00:00:00:03");
  EXPECT_EQ(f.Cell(0, 3), L"8003");
  wchar_t found[64] = L"";
  GetDlgItemTextW(f.view().handle(), IDC_FOUND_TEXT, found, 64);
  EXPECT_STREQ(found, L"Found 3 devices");
  // A second reply from a listed MAC changes nothing.
  f.view().DeliverReplies({Pending(Device(3, 0x01020304u, "Z"))});
  ViewFixture::Pump(50);
  EXPECT_EQ(f.Rows(), 3);
}

TEST(DeviceView, ClickEnablesBothCommandsOnlyWithASelection) {
  ViewFixture f;
  DeliverThree(f);
  f.TakeToolRequests();
  f.Select(1);
  f.TakeToolRequests();  // the selection's own item change
  f.Notify(NM_CLICK);
  EXPECT_EQ(f.TakeToolRequests(),
            (std::vector<ToolRequestSeen>{{ENABLE, ID_DEVICE_IP_CHANGE},
                                          {ENABLE, ID_DEVICE_WEB_PAGE}}));
  f.SetChecked(2, true);
  f.Select(-1);
  f.TakeToolRequests();
  // A click where no row is: both off, even with a row checked.
  f.Notify(NM_CLICK);
  EXPECT_EQ(f.TakeToolRequests(),
            (std::vector<ToolRequestSeen>{{DISABLE, ID_DEVICE_IP_CHANGE},
                                          {DISABLE, ID_DEVICE_WEB_PAGE}}));
  // Changing a check mark brings the change command back, not the web page.
  f.SetChecked(2, false);
  EXPECT_EQ(f.TakeToolRequests(),
            (std::vector<ToolRequestSeen>{{DISABLE, ID_DEVICE_IP_CHANGE}}));
  f.SetChecked(0, true);
  EXPECT_EQ(f.TakeToolRequests(),
            (std::vector<ToolRequestSeen>{{ENABLE, ID_DEVICE_IP_CHANGE}}));
}

TEST(DeviceView, SelectAllChecksAndUnchecksEveryRow) {
  ViewFixture f;
  DeliverThree(f);
  HWND box = GetDlgItem(f.view().handle(), IDC_SELECT_ALL);
  SendMessageW(box, BM_CLICK, 0, 0);
  for (int row = 0; row < 3; ++row) EXPECT_TRUE(f.Checked(row)) << row;
  EXPECT_EQ(f.view().Table().CheckedCount(), 3u);
  SendMessageW(box, BM_CLICK, 0, 0);
  for (int row = 0; row < 3; ++row) EXPECT_FALSE(f.Checked(row)) << row;
  EXPECT_EQ(f.view().Table().CheckedCount(), 0u);
}

// With thousands of rows the list catches up with the table in steps; what
// the user does meanwhile must still cover the whole table.
TEST(DeviceView, SelectAllAndSortCoverRowsTheListWritesLater) {
  ViewFixture f;
  constexpr int ROWS = 3000;
  std::vector<PendingReply> batch;
  for (int i = 0; i < ROWS; ++i) {
    TestReply reply = Device(0, 0x0A000000u + static_cast<std::uint32_t>(i));
    reply.mac = {0x02,
                 0x00,
                 0x00,
                 static_cast<std::uint8_t>(i >> 8),
                 static_cast<std::uint8_t>(i),
                 0x01};
    batch.push_back(Pending(reply));
  }
  f.view().DeliverReplies(batch);
  // Take the table in one message at a time, and stop before the list
  // shows all of it.
  while (f.view().Table().Size() < ROWS) {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  ASSERT_LT(f.Rows(), ROWS) << "the list caught up at once; no steps left";
  SendMessageW(GetDlgItem(f.view().handle(), IDC_SELECT_ALL), BM_CLICK, 0, 0);
  ViewFixture::Pump(500);
  ASSERT_EQ(f.Rows(), ROWS);
  EXPECT_EQ(f.view().Table().CheckedCount(), static_cast<std::size_t>(ROWS));
  EXPECT_TRUE(f.Checked(ROWS - 1)) << "a row written after the click";

  // A sort moves checked rows: the list's own writes of their marks over the
  // following steps are no click of the user's and switch no command.
  // The last device by MAC lands in the last step of the list's writes.
  int last = 0;
  while (last < ROWS && f.Cell(last, 1) != L"02:00:00:0B:B7:01") ++last;
  ASSERT_LT(last, ROWS);
  f.SetChecked(last, false);
  f.TakeToolRequests();
  f.Notify(LVN_COLUMNCLICK, -1, 1);
  ViewFixture::Pump(500);
  EXPECT_EQ(f.TakeToolRequests(), std::vector<ToolRequestSeen>{});
  EXPECT_EQ(f.view().Table().CheckedCount(),
            static_cast<std::size_t>(ROWS - 1));
}

TEST(DeviceView, HeaderArrowsFollowTheClicks) {
  ViewFixture f;
  DeliverThree(f);
  f.SetChecked(0, true);  // 10.0.0.1, model A
  f.Select(0);
  f.Notify(LVN_COLUMNCLICK, -1, 0);
  EXPECT_EQ(f.HeaderFormat(0), 0x4202);
  EXPECT_EQ(Column(f, 0), (std::vector<std::wstring>{
                              L"10.0.0.1", L"192.168.0.10", L"192.168.0.9"}));
  f.Notify(LVN_COLUMNCLICK, -1, 0);
  EXPECT_EQ(f.HeaderFormat(0), 0x4402);
  EXPECT_EQ(Column(f, 0), (std::vector<std::wstring>{
                              L"192.168.0.9", L"192.168.0.10", L"10.0.0.1"}));
  // The check mark moved with its device; the selection stayed at row 0.
  EXPECT_TRUE(f.Checked(2));
  EXPECT_FALSE(f.Checked(0));
  EXPECT_EQ(SendMessageW(f.list(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                         LVNI_SELECTED),
            0);
  // Another column keeps the direction and takes the arrow.
  f.Notify(LVN_COLUMNCLICK, -1, 5);
  EXPECT_EQ(f.HeaderFormat(0), 0x4002);
  EXPECT_EQ(f.HeaderFormat(5), 0x4402);
  EXPECT_EQ(Column(f, 5), (std::vector<std::wstring>{L"C", L"B", L"A"}));
}

std::vector<WebLaunch> launches;
void RecordLaunch(void*, const WebLaunch& launch) {
  launches.push_back(launch);
}

TEST(DeviceView, WebPageOfTheSelectedRowOnlyWithASelection) {
  ViewFixture f;
  DeliverThree(f);
  launches.clear();
  const WebLauncher previous = SetWebLauncher(RecordLaunch);
  SendMessageW(f.view().handle(), WM_VIEW_COMMAND, ID_DEVICE_WEB_PAGE, 0);
  f.Notify(NM_DBLCLK);
  EXPECT_TRUE(launches.empty());
  f.Select(1);
  SendMessageW(f.view().handle(), WM_VIEW_COMMAND, ID_DEVICE_WEB_PAGE, 0);
  f.Notify(NM_DBLCLK);
  SetWebLauncher(previous);
  ASSERT_EQ(launches.size(), 2u);
  const std::wstring address = L"http://192.168.0.10:8002";
  const std::wstring& browser = f.view().BrowserPath();
  const DWORD attributes = GetFileAttributesW(browser.c_str());
  for (const WebLaunch& launch : launches) {
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      EXPECT_EQ(launch.file, browser);
      EXPECT_EQ(launch.parameters, address);
    } else {
      EXPECT_EQ(launch.file, address);
    }
  }
}

TEST(DeviceView, OnlyTheFirstCollisionShowsTheNotice) {
  ViewFixture f;
  // Arm the collision test as a search does, without the network.
  const_cast<DeviceTable&>(f.view().Table()).ArmCollisionCheck();
  f.view().DeliverReplies({Pending(Device(1, 0x0A000005u)),
                           Pending(Device(2, 0x0A000005u)),
                           Pending(Device(3, 0x0A000005u))});
  HWND notice = nullptr;
  for (int i = 0; i < 100 && !notice; ++i) {
    ViewFixture::Pump(20);
    notice = ViewFixture::FindNotice();
  }
  ASSERT_NE(notice, nullptr);
  wchar_t text[64] = L"";
  GetDlgItemTextW(notice, 0xFFFF, text, 64);
  EXPECT_STREQ(text, L"IP collision is detected.");
  EXPECT_EQ(Column(f, 1), (std::vector<std::wstring>{L"02:00:00:00:00:01",
                                                     L"02:00:00:00:00:03"}));
}

}  // namespace
