#include "cli/plan_file.h"

#include <cctype>
#include <cstddef>
#include <map>

namespace cli {
namespace {

enum Column { MAC, IP, MASK, GATEWAY, MODE, BASE_PORT, HTTP_PORT, COUNT };
const char* const COLUMN_NAMES[COUNT] = {
    "mac", "ip", "mask", "gateway", "mode", "base_port", "http_port"};

struct Record {
  int line = 0;
  std::vector<std::string> cells;
};

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Splits the text into records. False with `failLine` and `why` for a quote
// that is never closed or text after a closing quote.
bool SplitRecords(const std::string& text, std::vector<Record>* records,
                  int* failLine, std::string* why) {
  int line = 1;
  Record record{1, {}};
  std::string cell;
  bool quoted = false;    // the current cell began with a quote
  bool inQuotes = false;  // ... and it is still open
  auto endCell = [&] {
    record.cells.push_back(quoted ? cell : Trim(cell));
    cell.clear();
    quoted = false;
  };
  auto endRecord = [&] {
    endCell();
    if (record.cells.size() > 1 || !record.cells[0].empty())
      records->push_back(record);
    record = Record{line, {}};
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inQuotes) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        cell.push_back('"');
        ++i;
      } else if (c == '"') {
        inQuotes = false;
      } else {
        if (c == '\n') ++line;
        cell.push_back(c);
      }
      continue;
    }
    if (c == ',') {
      endCell();
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      ++line;
      endRecord();
    } else if (quoted) {
      if (c != ' ' && c != '\t') {
        *failLine = line;
        *why = "text after a closing quote";
        return false;
      }
    } else if (c == '"' && Trim(cell).empty()) {
      cell.clear();
      quoted = inQuotes = true;
    } else {
      cell.push_back(c);
    }
  }
  if (inQuotes) {
    *failLine = record.line;
    *why = "a quoted cell is never closed";
    return false;
  }
  endRecord();
  return true;
}

std::string Lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Reads one optional cell into `field`; a blank cell leaves it unset.
template <typename T>
bool ReadCell(const std::string& cell, const char* column,
              bool (*parse)(const std::string&, T*), std::optional<T>* field,
              std::string* why) {
  if (cell.empty()) return true;
  T value{};
  if (!parse(cell, &value)) {
    *why = std::string("bad ") + column + " '" + cell + "'";
    return false;
  }
  *field = value;
  return true;
}

bool ReadRow(const std::vector<int>& columns, const Record& record,
             PlanRow* row, std::string* why) {
  std::vector<std::string> cells(COUNT);
  for (std::size_t i = 0; i < columns.size(); ++i)
    cells[columns[i]] = record.cells[i];
  row->line = record.line;
  if (!ParseMac(cells[MAC], &row->mac)) {
    *why = "bad MAC address '" + cells[MAC] + "'";
    return false;
  }
  if (cells[IP].empty()) {
    *why = "the ip cell is blank";
    return false;
  }
  SettingsEdit& edit = row->edit;
  return ReadCell(cells[IP], "ip", ParseAddress, &edit.ip, why) &&
         ReadCell(cells[MASK], "mask", ParseAddress, &edit.mask, why) &&
         ReadCell(cells[GATEWAY], "gateway", ParseAddress, &edit.gateway,
                  why) &&
         ReadCell(cells[MODE], "mode (fixed, dhcp or pppoe)", ParseMode,
                  &edit.mode, why) &&
         ReadCell(cells[BASE_PORT], "base_port", ParseInt32, &edit.basePort,
                  why) &&
         ReadCell(cells[HTTP_PORT], "http_port", ParseInt32, &edit.httpPort,
                  why);
}

bool ReadHeader(const Record& header, std::vector<int>* columns,
                std::string* why) {
  bool seen[COUNT] = {};
  for (const std::string& cell : header.cells) {
    const std::string name = Lower(cell);
    int column = 0;
    while (column < COUNT && name != COLUMN_NAMES[column]) ++column;
    if (column == COUNT) {
      *why = "unknown column '" + cell +
             "' (mac, ip, mask, gateway, mode, base_port, http_port)";
      return false;
    }
    if (seen[column]) {
      *why = "column '" + name + "' appears twice";
      return false;
    }
    seen[column] = true;
    columns->push_back(column);
  }
  if (!seen[MAC] || !seen[IP]) {
    *why = "the header needs the columns mac and ip";
    return false;
  }
  return true;
}

}  // namespace

PlanFile ReadPlanCsv(const std::string& text, const std::string& name) {
  PlanFile plan;
  auto fail = [&](int line, const std::string& why) {
    plan.rows.clear();
    plan.error = name + ":" + std::to_string(line) + ": " + why;
    return plan;
  };
  const std::string BYTE_ORDER_MARK = "\xEF\xBB\xBF";
  const bool marked = text.compare(0, 3, BYTE_ORDER_MARK) == 0;
  std::vector<Record> records;
  int failLine = 0;
  std::string why;
  if (!SplitRecords(marked ? text.substr(3) : text, &records, &failLine, &why))
    return fail(failLine, why);
  if (records.empty()) return fail(1, "no header row");
  std::vector<int> columns;
  if (!ReadHeader(records[0], &columns, &why))
    return fail(records[0].line, why);
  if (records.size() == 1) return fail(records[0].line, "the plan has no rows");
  std::map<Mac, int> firstLine;
  for (std::size_t i = 1; i < records.size(); ++i) {
    const Record& record = records[i];
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
  plan.ok = true;
  return plan;
}

}  // namespace cli
