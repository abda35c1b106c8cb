#include <gtest/gtest.h>

#include "cli/found_device.h"
#include "cli/text_formats.h"
#include "tests/cli/cli_test_devices.h"

namespace cli {
namespace {

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

TEST(CliFormats, TableColumnsAreAligned) {
  EXPECT_EQ(AlignedTable({"A", "Long header", "C"},
                         {{"wide cell", "x", ""}, {"y", "z", "last"}}),
            "A          Long header  C\n"
            "wide cell  x\n"
            "y          z            last\n");
}

TEST(CliFormats, DevicesSortNumericallyWithConflictsAndReach) {
  std::vector<DeviceRow> rows(4);
  rows[0].record = Device(1, Ip(10, 77, 0, 100)).info;
  rows[1].record = Device(2, Ip(10, 77, 0, 9)).info;
  rows[2].record = Device(3, Ip(192, 168, 7, 5)).info;
  rows[3].record = Device(4, Ip(10, 77, 0, 9)).info;
  rows[0].texts[COLUMN_MODEL] = L"CAM \"A\"";
  const std::vector<FoundDevice> devices = FoundDevices(
      rows, {{Ip(10, 78, 0, 1), MASK24}, {Ip(10, 77, 0, 1), MASK24}});
  ASSERT_EQ(devices.size(), 4u);
  const std::uint8_t order[] = {2, 4, 1, 3};
  for (std::size_t i = 0; i < 4; ++i)
    EXPECT_EQ(devices[i].info.macAddress, MacOf(order[i])) << i;
  EXPECT_TRUE(devices[0].conflict);
  EXPECT_TRUE(devices[1].conflict);
  EXPECT_FALSE(devices[2].conflict);
  EXPECT_EQ(devices[2].reachableFrom, Ip(10, 77, 0, 1));
  EXPECT_EQ(devices[3].reachableFrom, 0u);

  EXPECT_EQ(DeviceJson(devices[2]),
            "{\"mac\":\"02:00:5E:C1:00:01\",\"ip\":\"10.77.0.100\","
            "\"mask\":\"255.255.255.0\",\"gateway\":\"10.77.0.1\","
            "\"base_port\":8000,\"http_port\":80,\"ip_mode\":0,"
            "\"ip_mode_text\":\"Fixed IP\",\"model\":\"CAM \\\"A\\\"\","
            "\"firmware\":\"\",\"conflict\":false,"
            "\"reachable_from\":\"10.77.0.1\","
            "\"url\":\"http://10.77.0.100:80\"}");
  const std::string csv = DevicesCsv({devices[2], devices[3]});
  EXPECT_EQ(csv.substr(csv.find('\n') + 1),
            "02:00:5E:C1:00:01,10.77.0.100,255.255.255.0,10.77.0.1,8000,80,0,"
            "Fixed IP,\"CAM \"\"A\"\"\",,false,10.77.0.1,"
            "http://10.77.0.100:80\n"
            "02:00:5E:C1:00:03,192.168.7.5,255.255.255.0,10.77.0.1,8000,80,0,"
            "Fixed IP,,,false,,http://192.168.7.5:80\n");
  const std::string table = DevicesTable(devices);
  EXPECT_NE(table.find("not reachable from this computer"), std::string::npos);
  EXPECT_EQ(table.substr(table.rfind("Found")), "Found 4 devices\n");
  EXPECT_EQ(DevicesJson({}), "[]\n");
}

}  // namespace
}  // namespace cli
