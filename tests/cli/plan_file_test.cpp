#include "cli/plan/plan_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "cli/device/device_fields.h"
#include "cli/device/plan_cells.h"
#include "cli/format/text_formats.h"
#include "cli/plan/plan_status.h"
#include "tests/cli/cli_test_devices.h"

namespace cli {
namespace {

enum class Order { LittleEndian, BigEndian };

// A file as Windows writes UTF-16: the byte order mark, then the text.
std::string Utf16(const std::u16string& text, Order order) {
  std::string bytes;
  for (char16_t unit : u"\uFEFF" + text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += order == Order::LittleEndian ? std::string{low, high}
                                          : std::string{high, low};
  }
  return bytes;
}

// The errors as one text, a line each.
std::string Errors(const PlanFile& plan) { return Joined(plan.errors, "\n"); }

// The rows as one line of text, each with the settings it gives.
std::string Summary(const PlanFile& plan) {
  std::string text;
  for (const PlanRow& row : plan.rows) {
    const SettingsEdit& edit = row.edit;
    auto address = [&text](const char* name, std::optional<std::uint32_t> a) {
      if (a) text += std::string(" ") + name + "=" + Dotted(*a);
    };
    auto number = [&text](const char* name, std::optional<std::int32_t> n) {
      if (n) text += std::string(" ") + name + "=" + std::to_string(*n);
    };
    text += (text.empty() ? "" : "; ") + Utf8(MacText(row.mac));
    address("ip", edit.ip);
    address("mask", edit.mask);
    address("gateway", edit.gateway);
    number("mode", edit.mode);
    number("base_port", edit.basePort);
    number("http_port", edit.httpPort);
  }
  return text;
}

TEST(PlanFile, ReadsRowsWithOptionalCells) {
  const PlanFile plan = ReadPlanCsv(
      "\xEF\xBB\xBFMAC, ip ,Mode,http_port,gateway\r\n"
      "02:00:5E:C1:00:01,10.77.0.11,,,\r\n"
      "\r\n"
      "\"02-00-5e-c1-00-02\", 10.77.0.12 ,pppoe,8080,\"10.77.0.254\"\r\n",
      "site.csv", BlankIp::Kept);
  ASSERT_TRUE(plan.ok) << Errors(plan);
  ASSERT_EQ(plan.rows.size(), 2u);
  EXPECT_EQ(plan.rows[0].line, 2);
  EXPECT_EQ(plan.rows[1].line, 4);
  EXPECT_EQ(Summary(plan),
            "02:00:5E:C1:00:01 ip=10.77.0.11; 02:00:5E:C1:00:02 "
            "ip=10.77.0.12 gateway=10.77.0.254 mode=2 http_port=8080");
}

TEST(PlanFile, ReadsEveryDialectOfSpreadsheetsAndPowerShell) {
  const std::string PLAN =
      "02:00:5E:C1:00:01 ip=10.77.0.11 mode=1 http_port=8080; "
      "02:00:5E:C1:00:02 ip=10.77.0.12";
  const struct {
    const char* dialect;
    std::string text;
  } CASES[] = {
      {"UTF-8 mark and CRLF",
       "\xEF\xBB\xBFmac,ip,mode,http_port\r\n"
       "02:00:5E:C1:00:01,10.77.0.11,dhcp,8080\r\n\r\n"
       "02:00:5E:C1:00:02,10.77.0.12,,\r\n"},
      {"semicolons, a formatted but empty row",
       "MAC;IP;Mode;HTTP_Port\n02:00:5E:C1:00:01;10.77.0.11;1;8080\n;;;\n"
       "02:00:5E:C1:00:02;10.77.0.12;;\n"},
      {"semicolons and quotes",
       "mac;ip;mode;http_port;note\n"
       "\"02:00:5E:C1:00:01\";10.77.0.11;\"DHCP\";8080;\"a;b,c\"\"d\"\n"
       "02:00:5E:C1:00:02;10.77.0.12;;;\"two\nlines\"\n"},
      {"tabs",
       "mac\tip\tmode\thttp_port\n02:00:5E:C1:00:01\t10.77.0.11\t"
       "dhcp\t8080\n02:00:5E:C1:00:02\t10.77.0.12\t \t\n"},
      {"sep=;",
       "sep=;\r\nmac;ip;ip_mode;http_port\r\n"
       "02:00:5E:C1:00:01;10.77.0.11;DHCP;8080\r\n"
       "02:00:5E:C1:00:02;10.77.0.12;;\r\n"},
      {"sep= tab, saved again",
       "SEP=\t\t\t\nmac\tip\tmode\thttp_port\n"
       "02:00:5E:C1:00:01\t10.77.0.11\t1\t8080\n"
       "02:00:5E:C1:00:02\t10.77.0.12\t\t\n"},
      {"PowerShell Export-Csv",
       "#TYPE System.Management.Automation.PSCustomObject\r\n"
       "\"mac\",\"ip\",\"mode\",\"http_port\"\r\n"
       "\"02:00:5E:C1:00:01\",\"10.77.0.11\",\"DHCP\",\"8080\"\r\n"
       "\"02:00:5E:C1:00:02\",\"10.77.0.12\",\"\",\"\"\r\n"},
      {"UTF-16 LE with tabs (Unicode text)",
       Utf16(u"MAC address\tIP address\tIP mode\tHTTP port\tNote\r\n"
             u"02:00:5E:C1:00:01\t10.77.0.11\tDHCP\t8080\tKamera \u00dc "
             u"\U0001F4F7\r\n02:00:5E:C1:00:02\t10.77.0.12\t\t\t\r\n",
             Order::LittleEndian)},
      {"UTF-16 BE from PowerShell",
       Utf16(u"#TYPE Selected.System.Management.Automation.PSCustomObject\r\n"
             u"\"mac\",\"ip\",\"ip_mode\",\"http_port\"\r\n"
             u"\"02:00:5E:C1:00:01\",\"10.77.0.11\",\"1\",\"8080\"\r\n"
             u"\"02:00:5E:C1:00:02\",\"10.77.0.12\",\"\",\"\"\r\n",
             Order::BigEndian)},
      {"the search table's headings",
       "IP address,MAC address,Mask,Gateway,Base port,HTTP port,IP mode,Model,"
       "Firmware,Note\n10.77.0.11,02:00:5E:C1:00:01,,,,8080,DHCP,CAM-A,V1.0,\n"
       "10.77.0.12,02:00:5E:C1:00:02,,,,,,CAM-B,V1.0,address conflict\n"},
      {"headings in other spellings, a nameless formatted column",
       "Mac-Address,IP_ADDRESS,ip mode,Http-Port,Subnet Mask,BASE_PORT,"
       "ip_mode_text,conflict,reachable_from,url,adapter,model,firmware,\n"
       "02:00:5E:C1:00:01,10.77.0.11,1,8080,,,DHCP,true,,u,10.77.0.1,m,f,\n"
       "02:00:5E:C1:00:02,10.77.0.12,,,,,,false,10.77.0.1,,,,,\n"},
  };
  for (const auto& c : CASES) {
    const PlanFile plan = ReadPlanCsv(c.text, "site.csv", BlankIp::Kept);
    EXPECT_TRUE(plan.ok) << c.dialect << ": " << Errors(plan);
    EXPECT_EQ(Summary(plan), PLAN) << c.dialect;
  }
}

TEST(PlanFile, ReadsEveryFormOfMacAndModeCells) {
  const struct {
    const char* mac;
    const char* mode;
    const char* row;
  } CASES[] = {
      {"00:1A:2B:00:01:03", "0", "00:1A:2B:00:01:03 ip=10.0.0.1 mode=0"},
      {"00-1a-2b-00-01-03", "FIXED", "00:1A:2B:00:01:03 ip=10.0.0.1 mode=0"},
      {"001A2B000103", "fixed ip", "00:1A:2B:00:01:03 ip=10.0.0.1 mode=0"},
      {"001a.2b00.0103", "Dhcp", "00:1A:2B:00:01:03 ip=10.0.0.1 mode=1"},
      {"103", "1", "00:00:00:00:01:03 ip=10.0.0.1 mode=1"},
      {"123456789", "PPPoE (ADSL)", "00:01:23:45:67:89 ip=10.0.0.1 mode=2"},
      {"\"000000000103\"", "pppoe", "00:00:00:00:01:03 ip=10.0.0.1 mode=2"},
      {"999999999999", "2", "99:99:99:99:99:99 ip=10.0.0.1 mode=2"},
      {"02:00:5E:C1:00:01", "3", "02:00:5E:C1:00:01 ip=10.0.0.1"},
      {"02:00:5E:C1:00:01", "-1", "02:00:5E:C1:00:01 ip=10.0.0.1"},
      {"02:00:5E:C1:00:01", "", "02:00:5E:C1:00:01 ip=10.0.0.1"},
      {"02 51 4c 10 00 02", "+1", "02:51:4C:10:00:02 ip=10.0.0.1 mode=1"},
      {"\" 02:51:4C:10:00:02\t\"", "\" dhcp \"",
       "02:51:4C:10:00:02 ip=10.0.0.1 mode=1"},
  };
  for (const auto& c : CASES) {
    const std::string text =
        std::string("mac,ip,mode\n") + c.mac + ",10.0.0.1," + c.mode + "\n";
    const PlanFile plan = ReadPlanCsv(text, "p.csv", BlankIp::Kept);
    EXPECT_TRUE(plan.ok) << text << Errors(plan);
    EXPECT_EQ(Summary(plan), c.row) << text;
  }
}

TEST(PlanFile, BlankIpCellsAreLeftForNumbering) {
  const PlanFile blanks = ReadPlanCsv(
      "mac,ip,http_port\n02:00:5E:C1:00:01,,81\n02:00:5E:C1:00:02,10.0.0.2,\n",
      "p.csv", BlankIp::Numbered);
  ASSERT_TRUE(blanks.ok) << Errors(blanks);
  EXPECT_EQ(Summary(blanks),
            "02:00:5E:C1:00:01 http_port=81; 02:00:5E:C1:00:02 ip=10.0.0.2");
  const PlanFile macsOnly =
      ReadPlanCsv("mac\n02:00:5E:C1:00:01\n103\n", "p.csv", BlankIp::Numbered);
  ASSERT_TRUE(macsOnly.ok) << Errors(macsOnly);
  EXPECT_EQ(Summary(macsOnly), "02:00:5E:C1:00:01; 00:00:00:00:01:03");
}

// A new router: only the gateway changes, and a blank cell keeps the
// device's value, the address included.
TEST(PlanFile, APlanChangesAnySubset) {
  const PlanFile plan = ReadPlanCsv(
      "mac,gateway,ip\n02:00:5E:C1:00:01,10.77.0.254,\n"
      "02:00:5E:C1:00:02,,\n",
      "p.csv", BlankIp::Kept);
  ASSERT_TRUE(plan.ok) << Errors(plan);
  EXPECT_EQ(Summary(plan),
            "02:00:5E:C1:00:01 gateway=10.77.0.254; 02:00:5E:C1:00:02");
  const std::vector<PlanOutcome> outcomes = JudgePlan(
      plan.rows, {Device(1, Ip(10, 77, 0, 11)), Device(2, Ip(10, 77, 0, 12))},
      PlanSetting{});
  ASSERT_EQ(outcomes.size(), 2u);
  EXPECT_EQ(outcomes[0].status, ChangeStatus::Change);
  EXPECT_EQ(outcomes[0].message, "changes gateway");
  EXPECT_EQ(outcomes[0].proposed.ipAddress, Ip(10, 77, 0, 11));
  EXPECT_EQ(outcomes[0].proposed.gateway, Ip(10, 77, 0, 254));
  EXPECT_EQ(outcomes[1].status, ChangeStatus::Unchanged);

  // Numbered rows need no setting column at all; kept ones do.
  const std::string macsOnly = "mac,Notes\n02:00:5E:C1:00:01,\n";
  EXPECT_TRUE(ReadPlanCsv(macsOnly, "p.csv", BlankIp::Numbered).ok);
  EXPECT_FALSE(ReadPlanCsv(macsOnly, "p.csv", BlankIp::Kept).ok);
}

TEST(PlanFile, UnknownColumnsAreIgnoredAndNamedInOneWarning) {
  const struct {
    std::string text;
    const char* warning;
  } CASES[] = {
      {"Room,mac,ip,Notes,model,Room,\x1B[2J\n"
       "Hall 2,02:00:5E:C1:00:01,10.0.0.1,door,CAM,x,y\n",
       "p.csv: ignored the columns 'Room', 'Notes' and '\\x1B[2J'"},
      {"mac;ip;Notes\n02:00:5E:C1:00:01;10.0.0.1;door\n",
       "p.csv: ignored the column 'Notes'"},
      {"mac,ip,model,firmware,note,\n02:00:5E:C1:00:01,10.0.0.1,CAM,V1,,\n",
       ""},
  };
  for (const auto& c : CASES) {
    const PlanFile plan = ReadPlanCsv(c.text, "p.csv", BlankIp::Kept);
    ASSERT_TRUE(plan.ok) << Errors(plan);
    EXPECT_EQ(Summary(plan), "02:00:5E:C1:00:01 ip=10.0.0.1") << c.text;
    EXPECT_EQ(plan.warning, c.warning);
  }
}

// search's CSV puts a ' before a device text that looks like a formula; the
// reader drops one such ' from any cell it reads, and no other.
TEST(PlanFile, SpreadsheetGuardsAreDropped) {
  const struct {
    const char* cell;
    const char* read;
  } CASES[] = {{"'=1", "=1"},    {"'-1", "-1"},   {"'+8080", "+8080"},
               {"'@a", "@a"},    {"'\tx", "\tx"}, {"''-1", "''-1"},
               {"'abc", "'abc"}, {"'", "'"},      {"-1", "-1"}};
  for (const auto& c : CASES) EXPECT_EQ(Unguarded(c.cell), c.read) << c.cell;

  FoundDevice forged = Device(1, Ip(10, 77, 0, 11));
  forged.model = "=HYPERLINK(\"http://x\",\"y\")";
  forged.firmware = "@SUM(1)";
  forged.settings.basePort = -1;
  std::string csv;
  WriteDevices({forged}, DeviceColumns::Ours, Format::Csv,
               [&csv](const std::string& piece) { csv += piece; });
  ASSERT_NE(csv.find(",-1,80,"), std::string::npos) << csv;
  ASSERT_NE(csv.find(",'@SUM(1),"), std::string::npos) << csv;
  const PlanFile plan = ReadPlanCsv(csv, "site.csv", BlankIp::Kept);
  ASSERT_TRUE(plan.ok) << Errors(plan);
  EXPECT_EQ(Summary(plan),
            "02:00:5E:C1:00:01 ip=10.77.0.11 mask=255.255.255.0 "
            "gateway=10.77.0.1 mode=0 base_port=-1 http_port=80");
  const PlanFile typed =
      ReadPlanCsv("mac,base_port,http_port\n02:00:5E:C1:00:01,'-1,'+8080\n",
                  "p.csv", BlankIp::Kept);
  ASSERT_TRUE(typed.ok) << Errors(typed);
  EXPECT_EQ(Summary(typed), "02:00:5E:C1:00:01 base_port=-1 http_port=8080");
}

TEST(PlanFile, WhatSearchWritesReadsBackAsAPlan) {
  FoundDevice fixed = Device(1, Ip(10, 77, 0, 11));
  fixed.model = "CAM, \"A\"";
  fixed.firmware = "V1.0";
  fixed.place.reachableFrom = Ip(10, 77, 0, 1);
  FoundDevice ownMode = Device(2, Ip(10, 77, 0, 12));
  ownMode.settings.ipMode = 3;  // a mode this program has no name for
  ownMode.settings.httpPort = 8080;
  ownMode.conflict = true;
  ownMode.place.reachableFrom = Ip(10, 77, 0, 1);
  FoundDevice pppoe = Device(3, Ip(10, 77, 0, 12));
  pppoe.settings.ipMode = IP_MODE_PPPOE;
  pppoe.conflict = true;
  pppoe.place.reachableFrom = Ip(10, 77, 0, 1);
  FoundDevice away = Device(4, Ip(192, 168, 7, 5));
  away.settings.ipMode = IP_MODE_DHCP;
  away.settings.gateway = Ip(192, 168, 7, 1);
  std::string csv;
  WriteDevices({fixed, ownMode, pppoe, away}, DeviceColumns::Ours, Format::Csv,
               [&csv](const std::string& piece) { csv += piece; });
  // The installer moves the unreachable device into this computer's subnet.
  const std::size_t cell = csv.find(",192.168.7.5,");
  ASSERT_NE(cell, std::string::npos) << csv;
  csv.replace(cell, 13, ",10.77.0.50,");

  const PlanFile plan = ReadPlanCsv(csv, "site.csv", BlankIp::Kept);
  ASSERT_TRUE(plan.ok) << Errors(plan);
  // Every column search writes is read, or left out on purpose.
  EXPECT_EQ(plan.warning, "");
  const std::string SETTINGS = " mask=255.255.255.0 gateway=10.77.0.1";
  EXPECT_EQ(Summary(plan),
            "02:00:5E:C1:00:01 ip=10.77.0.11" + SETTINGS +
                " mode=0 base_port=8000 http_port=80; "
                "02:00:5E:C1:00:02 ip=10.77.0.12" +
                SETTINGS +
                " base_port=8000 http_port=8080; "
                "02:00:5E:C1:00:03 ip=10.77.0.12" +
                SETTINGS +
                " mode=2 base_port=8000 http_port=80; "
                "02:00:5E:C1:00:04 ip=10.77.0.50 mask=255.255.255.0 "
                "gateway=192.168.7.1 mode=1 base_port=8000 http_port=80");
}

// The search table's headings, saved as a spreadsheet's header, name the
// same columns: every one is read or left out on purpose.
TEST(PlanFile, TheSearchTablesHeadingsAreColumnsToo) {
  const std::string table = Collected([](const TextSink& write) {
    WriteDevices({}, DeviceColumns::Ours, Format::Table, write);
  });
  std::string header;
  for (std::size_t at = 0; at < table.find('\n');) {
    const std::size_t gap = table.find("  ", at);
    const std::size_t end = std::min(gap, table.find('\n'));
    header += (header.empty() ? "" : ",") + table.substr(at, end - at);
    at = table.find_first_not_of(' ', end);
  }
  const PlanFile plan = ReadPlanCsv(
      header +
          "\n10.77.0.11,02:00:5E:C1:00:01,255.255.255.0,10.77.0.1,8000,"
          "80,DHCP,CAM,V1,10.77.0.1,\n",
      "site.csv", BlankIp::Kept);
  ASSERT_TRUE(plan.ok) << header << ": " << Errors(plan);
  EXPECT_EQ(plan.warning, "");
  EXPECT_EQ(Summary(plan),
            "02:00:5E:C1:00:01 ip=10.77.0.11 mask=255.255.255.0 "
            "gateway=10.77.0.1 mode=1 base_port=8000 http_port=80");
}

TEST(PlanFile, NumberCellsAsSpreadsheetsWriteThem) {
  const std::string ADVICE =
      "; format the http_port column as a number with no decimal places and "
      "no thousands separator (or as text), enter the value again and save";
  const struct {
    const char* cell;
    std::string read;  // the row, or the message
  } CASES[] = {
      {"8080", "02:00:5E:C1:00:01 http_port=8080"},
      {"'8080", "02:00:5E:C1:00:01 http_port=8080"},
      {"'+8080", "02:00:5E:C1:00:01 http_port=8080"},
      {"\" 8080 \"", "02:00:5E:C1:00:01 http_port=8080"},
      {"8.000",
       "p.csv:2: bad http_port '8.000': the spreadsheet wrote it "
       "with a thousands separator or a decimal part" +
           ADVICE},
      {"\"8,000\"",
       "p.csv:2: bad http_port '8,000': the spreadsheet wrote "
       "it with a thousands separator or a decimal part" +
           ADVICE},
      {"1.234.567",
       "p.csv:2: bad http_port '1.234.567': the spreadsheet "
       "wrote it with a thousands separator" +
           ADVICE},
      {"\"8080,00\"",
       "p.csv:2: bad http_port '8080,00': the spreadsheet "
       "wrote it with a decimal part" +
           ADVICE},
      {"8080.0",
       "p.csv:2: bad http_port '8080.0': the spreadsheet wrote it "
       "with a decimal part" +
           ADVICE},
      {"8080.5", "p.csv:2: bad http_port '8080.5'"},
      {"'8o", "p.csv:2: bad http_port ''8o'"},
  };
  for (const auto& c : CASES) {
    const PlanFile plan = ReadPlanCsv(
        std::string("mac,http_port\n02:00:5E:C1:00:01,") + c.cell + "\n",
        "p.csv", BlankIp::Kept);
    EXPECT_EQ(plan.ok ? Summary(plan) : Errors(plan), c.read) << c.cell;
  }
}

TEST(PlanFile, ErrorsNameTheFileAndLine) {
  const struct {
    std::string text;
    const char* error;
  } CASES[] = {
      {"", "p.csv:1: no header row"},
      {"mac,ip\n", "p.csv:1: the plan has no rows"},
      {"ip,mask\n", "p.csv:1: the header needs a mac column"},
      {"MAC,Location,Notes,model\n",
       "p.csv:1: the header names nothing to change: a plan has mac and one "
       "or more of ip, mask, gateway, mode, base_port and http_port"},
      {"mac,ip,IP\n", "p.csv:1: column 'IP' appears twice (first as 'ip')"},
      {"mac;ip;mode;IP Mode\n",
       "p.csv:1: column 'IP Mode' appears twice (first as 'mode')"},
      {"sep=|\nmac|ip\n", "p.csv:1: the line 'sep=|' names no separator"},
      {"#TYPE x\nsep=;,\n", "p.csv:2: the line 'sep=;,' names no separator"},
      {"mac,ip\n02:00:5E:C1:00:01\n", "p.csv:2: 1 cells where the header"},
      {"mac,ip\n\n02:00:5E:C1:00:0G,10.0.0.1\n",
       "p.csv:3: bad MAC address '02:00:5E:C1:00:0G'"},
      {"mac,ip\n0011223344556,10.0.0.1\n",
       "p.csv:2: bad MAC address '0011223344556' (write it 00:1A:2B:00:01:03, "
       "00-1A-2B-00-01-03, 00 1A 2B 00 01 03, 001A2B000103 or "
       "001a.2b00.0103)"},
      {"mac,ip\n,10.0.0.1\n", "p.csv:2: the mac cell is blank"},
      {"mac;ip\n1,23457E+11;10.0.0.1\n",
       "p.csv:2: bad MAC address '1,23457E+11': the spreadsheet wrote it as a "
       "number in scientific notation and lost digits; format the mac column "
       "as text in the spreadsheet"},
      {"mac,ip\n1.23457e11,10.0.0.1\n",
       "p.csv:2: bad MAC address '1.23457e11': the spreadsheet wrote it"},
      {"mac,ip\n1E+11,10.0.0.1\n",
       "p.csv:2: bad MAC address '1E+11': the spreadsheet wrote it"},
      {"mac,ip,mask\n02:00:5E:C1:00:01,10.0.0.1,255.255.255\n",
       "p.csv:2: bad mask '255.255.255'"},
      {"mac,ip,mode\n02:00:5E:C1:00:01,10.0.0.1,auto\n",
       "p.csv:2: bad mode 'auto' (fixed, dhcp or pppoe, or a mode number)"},
      {"mac,ip,mode\n02:00:5E:C1:00:01,10.0.0.1,1.0\n",
       "p.csv:2: bad mode '1.0'"},
      {"mac,ip,base_port\n02:00:5E:C1:00:01,10.0.0.1,99999999999\n",
       "p.csv:2: bad base_port '99999999999'"},
      {"mac,ip\n02:00:5E:C1:00:01,10.0.0.1\n02-00-5E-C1-00-01,10.0.0.2\n",
       "p.csv:3: the MAC address is planned twice (first on line 2)"},
      {"mac,ip\n02:00:5E:C1:00:01,10.0.0.1\n02005EC10001,10.0.0.2\n",
       "p.csv:3: the MAC address is planned twice (first on line 2)"},
      {"mac,ip\n\"02:00:5E:C1:00:01,10.0.0.1\n", "p.csv:2: a quoted cell"},
      {"mac,ip\n\"02:00:5E:C1:00:01\"x,10.0.0.1\n",
       "p.csv:2: text after a closing quote"},
      {"mac;ip\n\"02:00:5E:C1:00:01\";\"10.0.0.1\"\"\n",
       "p.csv:2: a quoted cell is never closed"},
      {"mac,ip\n02:00:5E:C1:00:01,\"10.0.0.1\n\"\n02:00:5E:C1:00:0X,1.1.1.1\n",
       "p.csv:2: bad ip"},
      // What the file holds is echoed only in forms a terminal shows.
      {"mac,ip\n02:00:5E:C1:00:0\xC3,\xED\xA0\x80\xF4\x90\x80\x80\n",
       "p.csv:2: bad MAC address '02:00:5E:C1:00:0\\xC3'"},
      {"mac,ip\n02:00:5E:C1:00:01,\xED\xA0\x80\xF4\x90\x80\x80\xE2\x82\xAC\n",
       "p.csv:2: bad ip '\\xED\\xA0\\x80\\xF4\\x90\\x80\\x80\xE2\x82\xAC'"},
      {std::string("mac,ip\n") + '\0' + "\t,10.0.0.1\n",
       "p.csv:2: bad MAC address '\\x00'"},
      // UTF-16: converted before it is read, and refused when it breaks.
      {Utf16(u"mac,ip\n0", Order::LittleEndian) + "x",
       "p.csv:2: the UTF-16 text ends in half a character"},
      {Utf16(u"mac,ip\r\n\r\n" + std::u16string(1, 0xD83D) + u"x",
             Order::BigEndian),
       "p.csv:3: a UTF-16 high surrogate without its pair"},
      {Utf16(std::u16string(1, 0xD83D), Order::BigEndian),
       "p.csv:1: a UTF-16 high surrogate without its pair"},
      {Utf16(u"mac" + std::u16string(1, 0xDC00), Order::LittleEndian),
       "p.csv:1: a UTF-16 low surrogate without its pair"},
  };
  for (const auto& c : CASES) {
    const PlanFile plan = ReadPlanCsv(c.text, "p.csv", BlankIp::Kept);
    EXPECT_FALSE(plan.ok) << c.text;
    EXPECT_TRUE(plan.rows.empty());
    EXPECT_EQ(Errors(plan).rfind(c.error, 0), 0u) << Errors(plan);
  }
}

}  // namespace
}  // namespace cli

namespace cli {
namespace {

// Every bad row and cell of a sheet at once, up to twenty, then a count.
TEST(PlanFile, EveryErrorIsReportedAtOnce) {
  const PlanFile five = ReadPlanCsv(
      "mac,ip,http_port\n"
      "02:00:5E:C1:00:01,10.0.0.1,80\n"
      "02:00:5E:C1:00:0G,10.0.0.300,80\n"
      "02:00:5E:C1:00:02,10.0.0.2\n"
      "02:00:5E:C1:00:03,10.0.0.3,8.000\n"
      "02-00-5E-C1-00-01,10.0.0.4,80\n",
      "p.csv", BlankIp::Kept);
  EXPECT_FALSE(five.ok);
  EXPECT_TRUE(five.rows.empty());
  EXPECT_EQ(Errors(five),
            "p.csv:3: bad MAC address '02:00:5E:C1:00:0G' (write it "
            "00:1A:2B:00:01:03, 00-1A-2B-00-01-03, 00 1A 2B 00 01 03, "
            "001A2B000103 or 001a.2b00.0103)\n"
            "p.csv:3: bad ip '10.0.0.300'\n"
            "p.csv:4: 2 cells where the header has 3\n"
            "p.csv:5: bad http_port '8.000': the spreadsheet wrote it with a "
            "thousands separator or a decimal part; format the http_port "
            "column as a number "
            "with no decimal places and no thousands separator (or as text), "
            "enter the value again and save\n"
            "p.csv:6: the MAC address is planned twice (first on line 2)");

  std::string many = "mac,ip\n";
  for (int i = 0; i < 25; ++i) many += "x,10.0.0.1\n";
  const PlanFile capped = ReadPlanCsv(many, "p.csv", BlankIp::Kept);
  ASSERT_EQ(capped.errors.size(), 21u);
  EXPECT_EQ(capped.errors[19].rfind("p.csv:21: bad MAC address 'x'", 0), 0u);
  EXPECT_EQ(capped.errors[20], "p.csv: 5 more errors");
}

}  // namespace
}  // namespace cli
