// What the probe's test target shows, and the controls in which it reports
// what reached it, shared by the target and the tests.
#pragma once

namespace target {

constexpr int LIST_ID = 1000;
constexpr int SELECT_ALL_ID = 1002;  // disabled
constexpr int FOUND_TEXT_ID = 1003;
constexpr int OPTION_ID = 1005;  // an enabled check box
// Every WM_COMMAND of the frame, as ids joined by commas.
constexpr int COMMAND_LOG_ID = 1098;
// The last thing that happened, e.g. "command 32777" or "column 2 clicked".
constexpr int EVENT_TEXT_ID = 1099;

constexpr wchar_t FOUND_TEXT[] = L"Found 3 devices";
constexpr wchar_t MESSAGE_TEXT[] = L"Probe target message.\r\nSecond line.";

constexpr int COLUMNS = 7;
constexpr int ROWS = 3;
constexpr const wchar_t* HEADINGS[COLUMNS] = {
    L"IP address", L"MAC address", L"Base port", L"HTTP port",
    L"IP mode",    L"Model name",  L"Firmware"};
constexpr const wchar_t* CELLS[ROWS][COLUMNS] = {
    {L"192.168.0.10", L"00:11:22:33:44:0A", L"2222", L"80", L"Fixed IP",
     L"VS-100", L"1.0.2"},
    {L"192.168.0.9", L"00:11:22:33:44:09", L"2222", L"8080", L"DHCP",
     L"CAM-200", L"2.1.0"},
    {L"10.0.0.1", L"00:11:22:33:44:01", L"3000", L"80", L"PPPoE (ADSL)",
     L"Kamera \u00DC \"3\" \\ x", L"3.0.1"}};
// The header format of every column: HDF_STRING | HDF_CENTER; a clicked
// column gets HDF_SORTDOWN added.
constexpr int HEADER_FORMAT = 0x4002;
constexpr int SORTED_HEADER_FORMAT = 0x4202;

// The modal dialog of command 32778.
constexpr int DIALOG_ID = 300;
constexpr int MODE_COMBO_ID = 1011;
constexpr int ADDRESS_ID = 1012;
constexpr int PORT_ID = 1015;
constexpr int COMPLETE_ID = 1020;  // disabled
constexpr wchar_t DIALOG_TITLE[] = L"Probe change";

}  // namespace target
