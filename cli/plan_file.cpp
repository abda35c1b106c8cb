#include "cli/plan_file.h"

#include <algorithm>
#include <cstddef>
#include <map>

#include "cli/csv_records.h"
#include "cli/plan_cells.h"
#include "cli/text_encoding.h"
#include "cli/text_formats.h"

namespace cli {
namespace {

enum Column { MAC, IP, MASK, GATEWAY, MODE, BASE_PORT, HTTP_PORT, COUNT };
// A column whose cells the plan does not read.
constexpr int IGNORED = COUNT;

struct Heading {
  const char* name;  // as HeaderName() gives it
  int column;
};
const Heading HEADINGS[] = {
    {"mac", MAC},
    {"mac_address", MAC},
    {"ip", IP},
    {"ip_address", IP},
    {"mask", MASK},
    {"subnet_mask", MASK},
    {"gateway", GATEWAY},
    {"mode", MODE},
    {"ip_mode", MODE},
    {"base_port", BASE_PORT},
    {"http_port", HTTP_PORT},
    // What search reports besides the settings; a plan made from its output
    // keeps them.
    {"ip_mode_text", IGNORED},
    {"model", IGNORED},
    {"firmware", IGNORED},
    {"conflict", IGNORED},
    {"reachable_from", IGNORED},
    {"url", IGNORED},
    {"note", IGNORED},
    {"adapter", IGNORED},
};

// A header cell in lower case with '_' for each space and hyphen.
std::string HeaderName(const std::string& cell) {
  std::string name = AsciiLower(cell);
  for (char& c : name) {
    if (c == ' ' || c == '-') c = '_';
  }
  return name;
}

// The column a header cell names; IGNORED for search's other columns and
// for a blank cell (a spreadsheet writes columns that were only formatted,
// never named), -1 for a name the plan does not know.
int ColumnOf(const std::string& cell) {
  if (cell.empty()) return IGNORED;
  const std::string name = HeaderName(cell);
  for (const Heading& heading : HEADINGS) {
    if (name == heading.name) return heading.column;
  }
  return -1;
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
  const std::string* first[COUNT] = {};  // each column's header cell
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
      std::any_of(first + IP, first + COUNT,
                  [](const std::string* cell) { return cell != nullptr; });
  if (!anySetting && blankIp == BlankIp::Kept) {
    *why =
        "the header names nothing to change: a plan has mac and one or more "
        "of ip, mask, gateway, mode, base_port and http_port";
    return false;
  }
  return true;
}

// Reads one optional cell into `field`; a blank cell leaves it unset.
template <typename T>
bool ReadCell(const std::string& cell, const char* column,
              bool (*parse)(const std::string&, T*), std::optional<T>* field,
              std::string* why) {
  if (cell.empty()) return true;
  T value{};
  if (!parse(cell, &value)) {
    *why = std::string("bad ") + column + " '" + Printable(cell) + "'";
    return false;
  }
  *field = value;
  return true;
}

bool ReadRow(const std::vector<int>& columns, const CsvRecord& record,
             PlanRow* row, std::string* why) {
  std::vector<std::string> cells(COUNT);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i] != IGNORED) cells[columns[i]] = Unguarded(record.cells[i]);
  }
  row->line = record.line;
  if (!ReadMacCell(cells[MAC], &row->mac, why)) return false;
  SettingsEdit& edit = row->edit;
  return ReadCell(cells[IP], "ip", ParseAddress, &edit.ip, why) &&
         ReadCell(cells[MASK], "mask", ParseAddress, &edit.mask, why) &&
         ReadCell(cells[GATEWAY], "gateway", ParseAddress, &edit.gateway,
                  why) &&
         ReadModeCell(cells[MODE], &edit.mode, why) &&
         ReadCell(cells[BASE_PORT], "base_port", ParseInt32, &edit.basePort,
                  why) &&
         ReadCell(cells[HTTP_PORT], "http_port", ParseInt32, &edit.httpPort,
                  why);
}

}  // namespace

PlanFile ReadPlanCsv(const std::string& text, const std::string& name,
                     BlankIp blankIp) {
  PlanFile plan;
  auto fail = [&](int line, const std::string& why) {
    plan.rows.clear();
    plan.error = name + ":" + std::to_string(line) + ": " + why;
    return plan;
  };
  const Utf8Text decoded = AsUtf8(text);
  if (!decoded.ok) return fail(decoded.failLine, decoded.why);
  const CsvRecords csv = ReadCsvRecords(decoded.text);
  if (!csv.ok) return fail(csv.failLine, csv.why);
  const std::vector<CsvRecord>& records = csv.records;
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
      return fail(record.line, std::to_string(record.cells.size()) +
                                   " cells where the header has " +
                                   std::to_string(columns.size()));
    }
    PlanRow row;
    if (!ReadRow(columns, record, &row, &why)) return fail(record.line, why);
    const auto [first, added] = firstLine.emplace(row.mac, row.line);
    if (!added) {
      return fail(record.line,
                  "the MAC address is planned twice (first on line " +
                      std::to_string(first->second) + ")");
    }
    plan.rows.push_back(row);
  }
  if (!header.unknown.empty()) {
    plan.warning = name + ": ignored the column" +
                   (header.unknown.size() > 1 ? "s " : " ") +
                   ListText(header.unknown);
  }
  plan.ok = true;
  return plan;
}

}  // namespace cli
