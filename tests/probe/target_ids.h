// What the probe's test target shows, and the controls in which it reports
// what reached it, shared by the target and the tests.
#pragma once

namespace target {

constexpr int kListId = 1000;
constexpr int kSelectAllId = 1002;  // disabled
constexpr int kFoundTextId = 1003;
constexpr int kOptionId = 1005;  // an enabled check box
// Every WM_COMMAND of the frame, as ids joined by commas.
constexpr int kCommandLogId = 1098;
// The last thing that happened, e.g. "command 32777" or "column 2 clicked".
constexpr int kEventTextId = 1099;

constexpr wchar_t kFoundText[] = L"Found 3 devices";
constexpr wchar_t kMessageText[] = L"Probe target message.\r\nSecond line.";

constexpr int kColumns = 7;
constexpr int kRows = 3;
constexpr const wchar_t* kHeadings[kColumns] = {
    L"IP address", L"MAC address", L"Base port", L"HTTP port",
    L"IP mode",    L"Model name",  L"Firmware"};
constexpr const wchar_t* kCells[kRows][kColumns] = {
    {L"192.168.0.10", L"00:11:22:33:44:0A", L"2222", L"80", L"Fixed IP",
     L"VS-100", L"1.0.2"},
    {L"192.168.0.9", L"00:11:22:33:44:09", L"2222", L"8080", L"DHCP",
     L"CAM-200", L"2.1.0"},
    {L"10.0.0.1", L"00:11:22:33:44:01", L"3000", L"80", L"PPPoE (ADSL)",
     L"Kamera \u00DC \"3\" \\ x", L"3.0.1"}};
// The header format of every column: HDF_STRING | HDF_CENTER; a clicked
// column gets HDF_SORTDOWN added.
constexpr int kHeaderFormat = 0x4002;
constexpr int kSortedHeaderFormat = 0x4202;

// The modal dialog of command 32778.
constexpr int kDialogId = 300;
constexpr int kModeComboId = 1011;
constexpr int kAddressId = 1012;
constexpr int kPortId = 1015;
constexpr int kCompleteId = 1020;  // disabled
constexpr wchar_t kDialogTitle[] = L"Probe change";

}  // namespace target
