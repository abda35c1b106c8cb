#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "cli/commands/set_report.h"
#include "cli/device/device_fields.h"
#include "cli/device/found_device.h"
#include "cli/format/display_width.h"
#include "cli/format/text_formats.h"
#include "tests/cli/cli_test_devices.h"

namespace cli {
namespace {

// The report as one text, and the size of each piece it came in.
std::string Written(Format format, const std::vector<FoundDevice>& devices,
                    std::vector<std::size_t>* pieces = nullptr) {
  std::string text;
  WriteDevices(devices, DeviceColumns::Ours, format,
               [&](const std::string& piece) {
                 text += piece;
                 if (pieces) pieces->push_back(piece.size());
               });
  return text;
}

TEST(CliFormats, JsonStringsAndCsvCellsAreEscaped) {
  const struct {
    std::string text, json, csv;
  } CASES[] = {
      {"CAM-A", "\"CAM-A\"", "CAM-A"},
      {"", "\"\"", ""},
      {"a,b", "\"a,b\"", "\"a,b\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\"", "\"say \"\"hi\"\"\""},
      {"back\\slash", "\"back\\\\slash\"", "back\\slash"},
      {"two\r\nlines", "\"two\\r\\nlines\"", "\"two\r\nlines\""},
      {std::string("\x01\x1f", 2), "\"\\u0001\\u001f\"",
       std::string("\x01\x1f", 2)},
  };
  for (const auto& c : CASES) {
    EXPECT_EQ(JsonString(c.text), c.json) << c.text;
    EXPECT_EQ(CsvCell(c.text), c.csv) << c.text;
  }
  EXPECT_EQ(Utf8(L"\u00e9\u20ac"), "\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(OneLine(L"Invalid network setting.\r\nPlease check.\r\n"),
            "Invalid network setting. Please check.");
}

// A forged reply's texts must not become live formulas in the installer's
// spreadsheet; numbers (a base port of -1) and the JSON stay as they are.
TEST(CliFormats, DeviceTextsThatLookLikeFormulasAreGuardedInCsv) {
  const struct {
    std::string text, cell;
  } CASES[] = {
      {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
      {"+1", "'+1"},
      {"-2", "'-2"},
      {"@SUM(1)", "'@SUM(1)"},
      {"\tTAB", "'\tTAB"},
      {"\rCR", "\"'\rCR\""},
      {"CAM-A", "CAM-A"},
      {"a=b", "a=b"},
      {"", ""},
  };
  for (const auto& c : CASES) {
    FoundDevice device = Device(1, Ip(10, 77, 0, 11));
    device.settings.basePort = -1;
    device.model = device.firmware = c.text;
    const std::string csv = Written(Format::Csv, {device});
    EXPECT_EQ(csv.substr(csv.find('\n') + 1),
              "02:00:5E:C1:00:01,10.77.0.11,255.255.255.0,10.77.0.1,-1,80,0,"
              "Fixed IP," +
                  c.cell + "," + c.cell +
                  ",false,,http://10.77.0.11:80,10.77.0.1\n")
        << c.text;
    EXPECT_NE(DeviceJson(device, DeviceColumns::Ours)
                  .find("\"model\":" + JsonString(c.text) +
                        ",\"firmware\":" + JsonString(c.text)),
              std::string::npos)
        << c.text;
  }
}

TEST(CliFormats, TheUrlFollowsTheHttpPort) {
  const struct {
    std::int32_t port;
    FieldValue url;
    const char* json;
    const char* csv;
  } CASES[] = {
      {80, "http://10.77.0.11:80", "\"http://10.77.0.11:80\"",
       "http://10.77.0.11:80"},
      {8080, "http://10.77.0.11:8080", "\"http://10.77.0.11:8080\"",
       "http://10.77.0.11:8080"},
      {443, "https://10.77.0.11/", "\"https://10.77.0.11/\"",
       "https://10.77.0.11/"},
      {0, std::nullopt, "null", ""},
      {-1, std::nullopt, "null", ""},
  };
  for (const auto& c : CASES) {
    FoundDevice device = Device(1, Ip(10, 77, 0, 11));
    device.settings.httpPort = c.port;
    EXPECT_EQ(DeviceValue(device, "url"), c.url) << c.port;
    EXPECT_NE(DeviceJson(device, DeviceColumns::Ours)
                  .find(std::string("\"url\":") + c.json),
              std::string::npos)
        << c.port;
    const std::string csv = Written(Format::Csv, {device});
    EXPECT_NE(csv.find(std::string(",false,,") + c.csv + ",10.77.0.1\n"),
              std::string::npos)
        << csv;
  }
}

TEST(CliFormats, SetReportsNameTheModeInTheTableAndWriteCsv) {
  SetReport report;
  report.before = Device(1, Ip(10, 77, 0, 11));
  report.before.settings.ipMode = 3;
  IpSettings sent = report.before.settings;
  sent.ipMode = IP_MODE_DHCP;
  sent.httpPort = 8080;
  report.sent = sent;
  report.status = ChangeStatus::Sent;
  EXPECT_EQ(SetReportText(report, Format::Table),
            "Setting    Before         Sent\n"
            "ip         10.77.0.11     10.77.0.11\n"
            "mask       255.255.255.0  255.255.255.0\n"
            "gateway    10.77.0.1      10.77.0.1\n"
            "ip_mode    3              DHCP\n"
            "base_port  8000           8000\n"
            "http_port  80             8080\n"
            "02:00:5E:C1:00:01: sent\n");
  const std::string csv = SetReportText(report, Format::Csv);
  EXPECT_EQ(csv.substr(0, csv.find("mask")),
            "mac,status,setting,before,sent\n"
            "02:00:5E:C1:00:01,sent,ip,10.77.0.11,10.77.0.11\n"
            "02:00:5E:C1:00:01,sent,");
  EXPECT_NE(csv.find("02:00:5E:C1:00:01,sent,ip_mode,3,1\n"),
            std::string::npos);
  report.sent.reset();
  report.status = ChangeStatus::Unchanged;
  const std::string unchanged = SetReportText(report, Format::Csv);
  EXPECT_EQ(unchanged.substr(unchanged.rfind("02:")),
            "02:00:5E:C1:00:01,unchanged,http_port,80,\n");
}

TEST(CliFormats, TableColumnsAreAligned) {
  EXPECT_EQ(AlignedTable({"A", "Long header", "C"},
                         {{"wide cell", "x", ""}, {"y", "z", "last"}}),
            "A          Long header  C\n"
            "wide cell  x\n"
            "y          z            last\n");
}

// Columns are measured in what a terminal shows: an umlaut is one column
// (two bytes), a CJK character two (three bytes), a combining mark none.
TEST(CliFormats, ColumnsLineUpByDisplayWidth) {
  const struct {
    const char* text;
    std::size_t width;
  } CASES[] = {{"Tor 1", 5},
               {"Eingang S\u00FCd", 11},
               {"\u5317\u9580", 4},
               {"Cafe\u0301", 4},
               {"bad \xC3", 5}};
  for (const auto& c : CASES)
    EXPECT_EQ(DisplayWidth(c.text), c.width) << c.text;
  EXPECT_EQ(AlignedTable({"Name", "IP"}, {{"Tor 1", "10.77.0.5"},
                                          {"Eingang S\u00FCd", "10.77.0.6"},
                                          {"\u5317\u9580", "10.77.0.7"},
                                          {"Cafe\u0301", "10.77.0.8"}}),
            "Name         IP\n"
            "Tor 1        10.77.0.5\n"
            "Eingang S\u00FCd  10.77.0.6\n"
            "\u5317\u9580         10.77.0.7\n"
            "Cafe\u0301         10.77.0.8\n");
}

// Each byte is one Latin-1 character, up to the first zero; a body of 40
// bytes or fewer carries no texts, whatever its text areas hold.
TEST(CliFormats, DeviceTextsComeFromTheBodyAsLatin1) {
  const struct {
    std::vector<std::uint8_t> bytes;
    std::int32_t bodyLength;
    std::string text;
  } CASES[] = {
      {{'C', 'A', 'M', 0, 'X'}, 72, "CAM"},
      {{'C', 0xE9, 0xFF}, 41, "C\xC3\xA9\xC3\xBF"},
      {{'C', 'A', 'M'}, 40, ""},
      {std::vector<std::uint8_t>(16, 'a'), 72, std::string(16, 'a')},
  };
  for (const auto& c : CASES) {
    DeviceText area{};
    std::copy(c.bytes.begin(), c.bytes.end(), area.begin());
    EXPECT_EQ(BodyText(area, c.bodyLength), c.text) << c.bodyLength;
  }
}

TEST(CliFormats, DevicesSortNumericallyWithConflictsAndReach) {
  std::vector<DeviceRow> rows(4);
  FoundDevice quoted = Device(1, Ip(10, 77, 0, 100));
  quoted.model = "CAM \"A\"";
  rows[0] = RowOf(quoted);
  rows[1] = RowOf(Device(2, Ip(10, 77, 0, 9)));
  rows[2] = RowOf(Device(3, Ip(192, 168, 7, 5)));
  rows[3] = RowOf(Device(4, Ip(10, 77, 0, 9)));
  IngressRecord heard;
  for (const DeviceRow& row : rows) heard.Heard(row.record.macAddress, 2);
  const BroadcastDomains domains(
      {{Ip(10, 78, 0, 1), MASK24, 3}, {Ip(10, 77, 0, 1), MASK24, 2}}, heard);
  const std::vector<FoundDevice> devices = FoundDevices(rows, domains, heard);
  ASSERT_EQ(devices.size(), 4u);
  const std::uint8_t order[] = {2, 4, 1, 3};
  for (std::size_t i = 0; i < 4; ++i)
    EXPECT_EQ(*devices[i].mac, MacOf(order[i])) << i;
  EXPECT_TRUE(devices[0].conflict);
  EXPECT_TRUE(devices[1].conflict);
  EXPECT_FALSE(devices[2].conflict);
  EXPECT_EQ(devices[2].place.reachableFrom, Ip(10, 77, 0, 1));
  EXPECT_EQ(devices[3].place.reachableFrom, 0u);

  EXPECT_EQ(DeviceJson(devices[2], DeviceColumns::Ours),
            "{\"mac\":\"02:00:5E:C1:00:01\",\"ip\":\"10.77.0.100\","
            "\"mask\":\"255.255.255.0\",\"gateway\":\"10.77.0.1\","
            "\"base_port\":8000,\"http_port\":80,\"ip_mode\":0,"
            "\"ip_mode_text\":\"Fixed IP\",\"model\":\"CAM \\\"A\\\"\","
            "\"firmware\":\"\",\"conflict\":false,"
            "\"reachable_from\":\"10.77.0.1\","
            "\"url\":\"http://10.77.0.100:80\",\"adapter\":\"10.77.0.1\"}");
  const std::string csv = Written(Format::Csv, {devices[2], devices[3]});
  EXPECT_EQ(csv.substr(csv.find('\n') + 1),
            "02:00:5E:C1:00:01,10.77.0.100,255.255.255.0,10.77.0.1,8000,80,0,"
            "Fixed IP,\"CAM \"\"A\"\"\",,false,10.77.0.1,"
            "http://10.77.0.100:80,10.77.0.1\n"
            "02:00:5E:C1:00:03,192.168.7.5,255.255.255.0,10.77.0.1,8000,80,0,"
            "Fixed IP,,,false,,http://192.168.7.5:80,10.77.0.1\n");
  const std::string table = Written(Format::Table, devices);
  EXPECT_NE(table.find("not reachable from this computer"), std::string::npos);
  EXPECT_EQ(table.substr(table.rfind("Found")), "Found 4 devices\n");
  EXPECT_EQ(Written(Format::Json, {}), "[]\n");
  EXPECT_EQ(Written(Format::Json, {devices[2]}),
            "[\n  " + DeviceJson(devices[2], DeviceColumns::Ours) + "\n]\n");
}

// Factory addresses repeat on every VLAN of a trunk: the same address in two
// domains is no conflict, and a device heard through two cards of one LAN
// joins their domains and is named by the lower card.
TEST(CliFormats, ConflictsCountOnlyWithinOneDomain) {
  std::vector<DeviceRow> rows(4);
  for (std::uint8_t n = 0; n < 4; ++n)
    rows[n] = RowOf(Device(n + 1, Ip(192, 168, 1, 64)));
  IngressRecord heard;
  heard.Heard(MacOf(1), 2);  // VLAN of qa0
  heard.Heard(MacOf(2), 3);  // VLAN of qa1 ...
  heard.Heard(MacOf(2), 4);  // ... which is also the LAN of qa2
  heard.Heard(MacOf(3), 4);
  heard.Heard(MacOf(4), 5);  // an interface without an address
  const BroadcastDomains domains({{Ip(10, 77, 0, 1), MASK24, 2},
                                  {Ip(10, 79, 0, 1), MASK24, 3},
                                  {Ip(10, 78, 0, 1), MASK24, 4}},
                                 heard);
  const std::vector<FoundDevice> devices = FoundDevices(rows, domains, heard);
  const struct {
    bool conflict;
    std::uint32_t adapter;
  } EXPECTED[] = {{false, Ip(10, 77, 0, 1)},
                  {true, Ip(10, 78, 0, 1)},
                  {true, Ip(10, 78, 0, 1)},
                  {false, 0}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(*devices[i].mac, MacOf(static_cast<std::uint8_t>(i + 1)));
    EXPECT_EQ(devices[i].conflict, EXPECTED[i].conflict) << i;
    EXPECT_EQ(devices[i].place.adapter, EXPECTED[i].adapter) << i;
  }
  EXPECT_EQ(domains.AdapterAddresses(devices[1].place.domain),
            (std::vector<std::uint32_t>{Ip(10, 78, 0, 1), Ip(10, 79, 0, 1)}));
}

// A large report comes in pieces of bounded size, each ending with a whole
// line, and together they make the report of one device after the other.
TEST(CliFormats, LargeReportsAreWrittenInPiecesOfWholeLines) {
  std::vector<FoundDevice> devices;
  for (std::uint32_t n = 0; n < 3000; ++n)
    devices.push_back(Device(static_cast<std::uint8_t>(n), Ip(10, 77, 0, 9)));
  std::string json = "[\n", csv;
  for (std::size_t i = 0; i < devices.size(); ++i) {
    json += "  " + DeviceJson(devices[i], DeviceColumns::Ours) +
            (i + 1 < devices.size() ? ",\n" : "\n");
    const std::string one = Written(Format::Csv, {devices[i]});
    csv += i ? one.substr(one.find('\n') + 1) : one;
  }
  json += "]\n";
  const struct {
    Format format;
    std::string expected;
  } CASES[] = {{Format::Json, json}, {Format::Csv, csv}};
  for (const auto& c : CASES) {
    std::vector<std::size_t> pieces;
    ASSERT_EQ(Written(c.format, devices, &pieces), c.expected);
    ASSERT_GT(pieces.size(), 3u);
    std::size_t at = 0;
    for (std::size_t size : pieces) {
      EXPECT_LE(size, 64 * 1024 + 400);
      at += size;
      EXPECT_EQ(c.expected[at - 1], '\n');
    }
  }
}

}  // namespace
}  // namespace cli
