// A sheet's XML as the plan reader gets it, and the lines a workbook's
// report passes through. Whole workbooks, written and read by a real
// spreadsheet library, are workbook_e2e.py's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/device/found_device.h"
#include "cli/format/sheet_lines.h"
#include "cli/format/text_encoding.h"
#include "cli/plan/plan_file.h"
#include "cli/workbook/sheet_cells.h"

namespace cli {
namespace {

std::string Sheet(const std::string& rows) {
  return "<worksheet xmlns=\"http://schemas.openxmlformats.org/"
         "spreadsheetml/2006/main\"><sheetData>" +
         rows + "</sheetData></worksheet>";
}

TEST(SheetCells, ReadsEachKindOfCellAsASpreadsheetSavesItAsText) {
  const std::vector<std::string> shared = {"mac", "02:00:5E:C1:00:01"};
  struct Case {
    const char* cell;
    const char* text;
  } cases[] = {
      {"<c r='A2' t='s'><v>1</v></c>", "02:00:5E:C1:00:01"},
      {"<c r='A2' t='inlineStr'><is><r><t>ab</t></r><r><t>c</t></r>"
       "<rPh><t>x</t></rPh></is></c>",
       "abc"},
      {"<c r='A2'><v>8000</v></c>", "8000"},
      {"<c r='A2' t='n'><v>2.0050100001E10</v></c>", "20050100001"},
      {"<c r='A2'><v>192.168</v></c>", "192.168"},
      {"<c r='A2'><v>1.2345678901234567E+20</v></c>", "1.2345678901234567E+20"},
      {"<c r='A2' t='b'><v>1</v></c>", "TRUE"},
      {"<c r='A2' t='b'><v>0</v></c>", "FALSE"},
      {"<c r='A2' t='str'><f>CONCAT(\"10.\",\"1\")</f><v>10.1</v></c>", "10.1"},
      {"<c r='A2'><f>1+1</f><v>2</v></c>", "2"},
      {"<c r='A2' t='e'><v>#N/A</v></c>", "#N/A"},
  };
  for (const Case& c : cases) {
    const SheetCells read = ReadSheetCells(
        Sheet("<row r='1'><c r='A1' t='s'><v>0</v></c></row><row r='2'>" +
              std::string(c.cell) + "</row>"),
        shared);
    ASSERT_TRUE(read.ok) << c.cell << read.why;
    ASSERT_EQ(read.rows.size(), 2u) << c.cell;
    EXPECT_EQ(read.rows[1].cells, std::vector<std::string>{c.text}) << c.cell;
    EXPECT_EQ(read.rows[1].line, 2);
  }
}

TEST(SheetCells, PlacesCellsByReferenceAndRefusesWhatIsOutOfTheSheet) {
  const SheetCells read = ReadSheetCells(
      Sheet("<row r='3'><c r='A3' t='inlineStr'><is><t>mac</t></is></c>"
            "<c r='C3' t='inlineStr'><is><t>ip</t></is></c></row>"
            "<row r='5'><c r='C5' t='inlineStr'><is><t>x</t></is></c></row>"
            "<row r='6'><c r='B6'/></row>"),
      {});
  ASSERT_TRUE(read.ok) << read.why;
  ASSERT_EQ(read.rows.size(), 2u);
  EXPECT_EQ(read.rows[1].line, 5);
  EXPECT_EQ(read.rows[1].cells, (std::vector<std::string>{"", "", "x"}));
  struct Case {
    const char* rows;
    const char* why;
  } refused[] = {
      {"<row><c r='A1'><v>1</v></c></row><row><c r='B2'><v>1</v></c></row>",
       "row 2 has a cell right of the header's last"},
      {"<row><c r='A1' t='s'><v>7</v></c></row>",
       "a cell names shared string 7, which the workbook does not have"},
      {"<row r='1048577'><c><v>1</v></c></row>",
       "a row number out of the sheet"},
      {"<row><c r='XFE1'><v>1</v></c></row>",
       "a cell reference out of the sheet"},
      {"<row><c><v>1</v></row>", "the sheet is not well-formed XML"},
  };
  for (const Case& c : refused) {
    const SheetCells read = ReadSheetCells(Sheet(c.rows), {});
    EXPECT_FALSE(read.ok) << c.rows;
    EXPECT_EQ(read.why, c.why) << c.rows;
  }
  const SheetCells doctype =
      ReadSheetCells("<!DOCTYPE x [<!ENTITY a \"aaaa\">]>" + Sheet(""), {});
  EXPECT_EQ(doctype.why, "the sheet holds a DOCTYPE, refused");
}

TEST(SheetCells, SharedStringsJoinTheirRunsWithoutPhoneticGuides) {
  std::vector<std::string> strings;
  ASSERT_TRUE(ReadSharedStrings(
      "<sst><si><t>plain</t></si><si><r><t>Sü</t></r><r><t>d</t></r>"
      "<rPh sb='0' eb='1'><t>ス</t></rPh></si><si><t/></si></sst>",
      &strings));
  EXPECT_EQ(strings, (std::vector<std::string>{"plain", "Süd", ""}));
  EXPECT_FALSE(ReadSharedStrings("<!DOCTYPE sst><sst/>", &strings));
}

TEST(SheetCells, ANumberMacGetsItsZerosBackAndANumberAddressIsRefused) {
  // A spreadsheet took the MAC 020050100001 for a number; the address
  // 10.1 was typed where a whole address belongs.
  const SheetCells read = ReadSheetCells(
      Sheet("<row><c t='inlineStr'><is><t>mac</t></is></c>"
            "<c t='inlineStr'><is><t>ip</t></is></c></row>"
            "<row><c><v>20050100001</v></c><c><v>10.1</v></c></row>"
            "<row><c><v>20050100002</v></c>"
            "<c t='inlineStr'><is><t>10.0.0.2</t></is></c></row>"),
      {});
  ASSERT_TRUE(read.ok) << read.why;
  PlanFile plan = ReadPlanRecords(read.rows, "p.xlsx:Devices", BlankIp::Kept);
  ASSERT_FALSE(plan.errors.empty());
  EXPECT_EQ(plan.errors[0].rfind("p.xlsx:Devices:2: ", 0), 0u)
      << plan.errors[0];
  std::vector<CsvRecord> good = {read.rows[0], read.rows[2]};
  plan = ReadPlanRecords(good, "p.xlsx:Devices", BlankIp::Kept);
  ASSERT_TRUE(plan.ok) << plan.errors.size();
  EXPECT_EQ(MacString(plan.rows[0].mac), "02:00:50:10:00:02");
}

TEST(SheetLines, TextsThatAreNotUtf8GetTheReplacementCharacter) {
  const struct {
    const char* text;
    const char* valid;
  } cases[] = {
      {"S\xC3\xBC"
       "d",
       "S\xC3\xBC"
       "d"},
      {"S\xFC"
       "d",
       "S\xEF\xBF\xBD"
       "d"},
      {"\xC3", "\xEF\xBF\xBD"},
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) EXPECT_EQ(ValidUtf8(c.text), c.valid) << c.text;
}

TEST(SheetLines, CarryEveryKindAndEveryByteThrough) {
  const std::vector<SheetRow> rows = {
      {{CellKind::Text, "mac"}, {CellKind::Text, "a\tb\\n\nc\r"}},
      {{CellKind::Blank, ""},
       {CellKind::Number, "-1"},
       {CellKind::Flag, "true"},
       {CellKind::Text, ""}},
  };
  std::string text;
  for (const SheetRow& row : rows) text += SheetLine(row);
  const std::vector<SheetRow> back = ReadSheetLines(text);
  ASSERT_EQ(back.size(), rows.size());
  for (std::size_t r = 0; r < rows.size(); ++r) {
    ASSERT_EQ(back[r].size(), rows[r].size());
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      EXPECT_EQ(back[r][c].kind, rows[r][c].kind);
      EXPECT_EQ(back[r][c].value, rows[r][c].value);
    }
  }
}

}  // namespace
}  // namespace cli
