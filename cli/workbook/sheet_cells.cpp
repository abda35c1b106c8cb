#include "cli/workbook/sheet_cells.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>

#include "cli/workbook/xml_events.h"

namespace cli {
namespace {

// A worksheet's bounds.
constexpr long MAX_ROW = 1048576;
constexpr std::size_t MAX_COLUMN = 16384;
// The cells a sheet may spread to once every row is as wide as its header:
// room for 65536 devices in 64 columns, while a hostile header that fills
// all 16384 columns above a million rows is refused, not unpacked.
constexpr std::size_t MAX_CELLS = 65537 * 64;
// The largest whole number a double holds exactly, digit for digit.
constexpr double EXACT = 1e15;

// A row's number: its r attribute, else the one after the row before. A
// number past the sheet, or one that is not a number, reads as 0, which is
// refused: a hostile r must neither overflow nor wrap the count.
long RowOf(const std::string& number, long previous) {
  if (number.empty()) return previous < MAX_ROW ? previous + 1 : 0;
  long row = 0;
  const char* end = number.data() + number.size();
  const auto read = std::from_chars(number.data(), end, row);
  if (read.ec != std::errc() || read.ptr != end || row > MAX_ROW) return 0;
  return row;
}

// The column (from 0) of a reference such as "AB12"; -1 when there is none.
long ColumnOf(const std::string& reference) {
  long column = 0;
  std::size_t i = 0;
  for (; i < reference.size() && reference[i] >= 'A' && reference[i] <= 'Z';
       ++i) {
    column = column * 26 + (reference[i] - 'A' + 1);
    if (column > static_cast<long>(MAX_COLUMN)) return -1;
  }
  return i == 0 ? -1 : column - 1;
}

// A number cell's value as a spreadsheet shows it: a whole number in full.
std::string NumberText(const std::string& value) {
  char* end = nullptr;
  const double number = std::strtod(value.c_str(), &end);
  if (end == value.c_str() || *end || std::fabs(number) >= EXACT ||
      number != std::floor(number))
    return value;
  char text[32];
  std::snprintf(text, sizeof text, "%.0f", number);
  return text;
}

// Collects the text of the <t> elements outside phonetic runs (<rPh>).
struct RunText {
  int phonetic = 0;
  bool inText = false;
  std::string text;

  void Start(const std::string& name) {
    if (name == "rPh") ++phonetic;
    if (name == "t" && !phonetic) inText = true;
  }
  void End(const std::string& name) {
    if (name == "rPh") --phonetic;
    if (name == "t") inText = false;
  }
  void Text(const char* at, int length) {
    if (inText) text.append(at, static_cast<std::size_t>(length));
  }
};

}  // namespace

bool ReadSharedStrings(const std::string& xml,
                       std::vector<std::string>* strings) {
  RunText run;
  XmlCalls calls;
  calls.start = [&](const std::string& name, const XmlAttributes&) {
    if (name == "si") run.text.clear();
    run.Start(name);
  };
  calls.end = [&](const std::string& name) {
    run.End(name);
    if (name == "si") strings->push_back(run.text);
  };
  calls.text = [&](const char* at, int length) { run.Text(at, length); };
  return ReadXmlEvents(xml, calls) == XmlRead::Ok;
}

SheetCells ReadSheetCells(const std::string& xml,
                          const std::vector<std::string>& sharedStrings) {
  SheetCells result;
  // Each row's (column, text), held sparse until the header's width is
  // known: a cell in column XFD must not make every row 16384 cells wide.
  std::map<long, std::vector<std::pair<std::size_t, std::string>>> rows;
  long row = 0;          // the current row's number
  long column = -1;      // the current cell's column
  std::string type;      // its t attribute
  RunText inlineText;    // an inline string's runs
  std::string value;     // its <v>
  bool inValue = false;  // inside <v>
  auto fail = [&result](const std::string& why) {
    if (result.why.empty()) result.why = why;
  };
  XmlCalls calls;
  calls.start = [&](const std::string& name, const XmlAttributes& attributes) {
    if (name == "row") {
      const std::string number = AttributeOf(attributes, "r");
      row = RowOf(number, row);
      if (row < 1 || row > MAX_ROW) fail("a row number out of the sheet");
      column = -1;
    } else if (name == "c") {
      const std::string reference = AttributeOf(attributes, "r");
      column = reference.empty() ? column + 1 : ColumnOf(reference);
      if (column < 0) fail("a cell reference out of the sheet");
      type = AttributeOf(attributes, "t");
      value.clear();
      inlineText = RunText();
    } else if (name == "v") {
      inValue = true;
    } else if (name == "is" || name == "t" || name == "r" || name == "rPh") {
      inlineText.Start(name);
    }
  };
  calls.end = [&](const std::string& name) {
    if (name == "v") inValue = false;
    inlineText.End(name);
    if (name != "c" || column < 0 || !result.why.empty()) return;
    std::string text;
    if (type == "s") {
      std::size_t index = 0;
      const char* end = value.data() + value.size();
      const auto read = std::from_chars(value.data(), end, index);
      if (value.empty() || read.ec != std::errc() || read.ptr != end ||
          index >= sharedStrings.size()) {
        fail("a cell names shared string " + value +
             ", which the workbook does not have");
        return;
      }
      text = sharedStrings[index];
    } else if (type == "inlineStr") {
      text = inlineText.text;
    } else if (type == "b") {
      text = value.empty() ? "" : value == "0" ? "FALSE" : "TRUE";
    } else if (type.empty() || type == "n") {
      text = value.empty() ? "" : NumberText(value);
    } else {
      text = value;  // a formula's string, an error value, a date
    }
    if (text.empty()) return;
    rows[row].emplace_back(static_cast<std::size_t>(column), text);
  };
  calls.text = [&](const char* at, int length) {
    if (inValue) value.append(at, static_cast<std::size_t>(length));
    inlineText.Text(at, length);
  };
  const XmlRead read = ReadXmlEvents(xml, calls);
  if (read == XmlRead::Doctype) fail("the sheet holds a DOCTYPE, refused");
  if (read == XmlRead::Malformed) fail("the sheet is not well-formed XML");
  if (!result.why.empty()) return result;
  // Every row as wide as the header, which is the first.
  std::size_t width = 0;
  if (!rows.empty())
    for (const auto& cell : rows.begin()->second)
      width = std::max(width, cell.first + 1);
  if (rows.size() * width > MAX_CELLS) {
    result.why = std::to_string(rows.size()) + " rows of " +
                 std::to_string(width) +
                 " columns: more than a plan of 65536 devices needs";
    return result;
  }
  for (auto& [number, cells] : rows) {
    CsvRecord record{static_cast<int>(number), std::vector<std::string>(width)};
    for (auto& [at, text] : cells) {
      if (at >= width) {
        result.why = "row " + std::to_string(number) +
                     " has a cell right of the header's last";
        result.rows.clear();
        return result;
      }
      record.cells[at] = std::move(text);
    }
    result.rows.push_back(std::move(record));
  }
  result.ok = true;
  return result;
}

}  // namespace cli
