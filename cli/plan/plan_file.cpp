#include "cli/plan/plan_file.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <map>

#include "cli/device/device_fields.h"
#include "cli/device/found_device.h"
#include "cli/device/plan_cells.h"
#include "cli/format/csv_records.h"
#include "cli/format/text_encoding.h"
#include "cli/format/text_formats.h"
#include "cli/format/typed_words.h"
#include "cli/plan/plan_problems.h"
#include "core/text/ascii_words.h"

namespace cli {
namespace {

// The columns a plan reads: the MAC, then one per setting, then the
// protocol, which tells the rows of devices that only ONVIF names.
constexpr int MAC = 0;
constexpr int COUNT = 1 + static_cast<int>(std::size(SETTINGS));
constexpr int PROTOCOL = COUNT;
// A column whose cells the plan does not read.
constexpr int IGNORED = PROTOCOL + 1;

// A header cell in lower case with '_' for each space and hyphen.
std::string HeaderName(const std::string& cell) {
  std::string name = AsciiLower(cell);
  for (char& c : name) {
    if (c == ' ' || c == '-') c = '_';
  }
  return name;
}

// Every name a header cell may have, as HeaderName() gives it, with its
// column: the settings' keys, plan names and table headings, then what
// search reports besides them, which a plan made from its output keeps.
std::map<std::string, int> Headings() {
  std::map<std::string, int> columns{
      {"mac", MAC}, {"mac_address", MAC}, {"protocol", PROTOCOL}};
  for (std::size_t i = 0; i < std::size(SETTINGS); ++i) {
    const Setting& setting = SETTINGS[i];
    for (const char* name : {setting.field.key, setting.column, setting.alias,
                             setting.field.heading})
      if (*name) columns.emplace(HeaderName(name), static_cast<int>(i) + 1);
  }
  for (const auto& [key, heading] : DeviceHeadings()) {
    columns.emplace(key, IGNORED);
    columns.emplace(HeaderName(heading), IGNORED);
  }
  return columns;
}

// The column a header cell names; IGNORED for search's other columns and
// for a blank cell (a spreadsheet writes columns that were only formatted,
// never named), -1 for a name the plan does not know.
int ColumnOf(const std::string& cell) {
  if (cell.empty()) return IGNORED;
  static const std::map<std::string, int> headings = Headings();
  const auto found = headings.find(HeaderName(cell));
  return found == headings.end() ? -1 : found->second;
}

struct Header {
  std::vector<int> columns;  // of each header cell
  // The names the plan does not know, each once, as the file has them.
  std::vector<std::string> unknown;
};

// The column of each header cell; false with `why` for a column named
// twice, no mac column, or (unless the rows are numbered) no setting to
// change.
bool ReadHeader(const CsvRecord& record, BlankIp blankIp, Header* header,
                std::string* why) {
  const std::string* first[IGNORED] = {};  // each column's header cell
  for (const std::string& cell : record.cells) {
    int column = ColumnOf(cell);
    if (column < 0) {
      // An installer's own column (a Location, Notes) stays in the sheet.
      const std::string name = "'" + Printable(cell) + "'";
      if (std::find(header->unknown.begin(), header->unknown.end(), name) ==
          header->unknown.end())
        header->unknown.push_back(name);
      column = IGNORED;
    }
    header->columns.push_back(column);
    if (column == IGNORED) continue;
    if (first[column]) {
      *why = "column '" + Printable(cell) + "' appears twice";
      if (*first[column] != cell)
        *why += " (first as '" + Printable(*first[column]) + "')";
      return false;
    }
    first[column] = &cell;
  }
  if (!first[MAC]) {
    *why = "the header needs a mac column";
    return false;
  }
  const bool anySetting =
      std::any_of(first + MAC + 1, first + COUNT,
                  [](const std::string* cell) { return cell != nullptr; });
  if (!anySetting && blankIp == BlankIp::Kept) {
    std::vector<std::string> names;
    for (const Setting& setting : SETTINGS) names.push_back(setting.column);
    *why =
        "the header names nothing to change: a plan has mac and one or more "
        "of " +
        ListText(names);
    return false;
  }
  return true;
}

// Every cell of the row is read, so that each bad one is reported; false
// when one was bad.
bool ReadRow(const std::vector<int>& columns, const CsvRecord& record,
             PlanRow* row, PlanProblems* problems) {
  std::vector<std::string> cells(IGNORED);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i] != IGNORED)
      cells[columns[i]] = Unguarded(Trimmed(record.cells[i]));
  }
  row->line = record.line;
  // A row of search's output for a device that only ONVIF names: its cells
  // are read all the same, to tell a row left as it was from one that asks
  // for a change.
  if (HeaderName(cells[PROTOCOL]) == "onvif") {
    row->kind = PlanRowKind::OnvifOnly;
    row->macGiven = !cells[MAC].empty();
  }
  bool good = true;
  std::string why;
  auto check = [&](bool read) {
    if (!read) problems->Add(record.line, why);
    good = good && read;
  };
  if (row->macGiven) check(ReadMacCell(cells[MAC], &row->mac, &why));
  for (std::size_t i = 0; i < std::size(SETTINGS); ++i)
    check(SETTINGS[i].readCell(cells[i + 1], &row->edit, &why));
  return good;
}

}  // namespace

PlanFile ReadPlanRecords(const std::vector<CsvRecord>& records,
                         const std::string& name, BlankIp blankIp) {
  PlanFile plan;
  PlanProblems problems(name);
  auto fail = [&](int line, const std::string& why) {
    problems.Add(line, why);
    plan.errors = problems.Lines();
    return plan;
  };
  if (records.empty()) return fail(1, "no header row");
  Header header;
  std::string why;
  if (!ReadHeader(records[0], blankIp, &header, &why))
    return fail(records[0].line, why);
  const std::vector<int>& columns = header.columns;
  if (records.size() == 1) return fail(records[0].line, "the plan has no rows");
  std::map<Mac, int> firstLine;
  for (std::size_t i = 1; i < records.size(); ++i) {
    const CsvRecord& record = records[i];
    if (record.cells.size() != columns.size()) {
      problems.Add(record.line, std::to_string(record.cells.size()) +
                                    " cells where the header has " +
                                    std::to_string(columns.size()));
      continue;
    }
    PlanRow row;
    if (!ReadRow(columns, record, &row, &problems)) continue;
    if (row.kind == PlanRowKind::Device) {
      const auto [first, added] = firstLine.emplace(row.mac, row.line);
      if (!added) {
        problems.Add(record.line,
                     "the MAC address is planned twice (first on line " +
                         std::to_string(first->second) + ")");
        continue;
      }
    }
    plan.rows.push_back(row);
  }
  if (!problems.Empty()) {
    plan.rows.clear();
    plan.errors = problems.Lines();
    return plan;
  }
  if (!header.unknown.empty()) {
    plan.warning = name + ": ignored the column" +
                   (header.unknown.size() > 1 ? "s " : " ") +
                   ListText(header.unknown);
  }
  plan.ok = true;
  return plan;
}

PlanFile ReadPlanCsv(const std::string& text, const std::string& name,
                     BlankIp blankIp) {
  PlanFile plan;
  auto fail = [&](int line, const std::string& why) {
    PlanProblems problems(name);
    problems.Add(line, why);
    plan.errors = problems.Lines();
    return plan;
  };
  // A file whose text or quoting is broken cannot be read on past the
  // break: its rows are not known.
  const Utf8Text decoded = AsUtf8(text);
  if (!decoded.ok) return fail(decoded.failLine, decoded.why);
  const CsvRecords csv = ReadCsvRecords(decoded.text);
  if (!csv.ok) return fail(csv.failLine, csv.why);
  return ReadPlanRecords(csv.records, name, blankIp);
}

}  // namespace cli
