// A report's rows as a workbook's typed cells, carried as text: a report in
// the workbook form passes through the same TextSink as the other forms, and
// the command that delivers it turns the lines into the sheet
// (cli/workbook/workbook_write.h). One line a row; a cell is its kind's
// letter and its value, the cells a tab apart, with \\, \t, \n and \r
// escaped.
#pragma once

#include <string>
#include <vector>

namespace cli {

enum class CellKind {
  Blank,
  Text,    // written as a string, whatever it starts with: never a formula
  Number,  // decimal
  Flag,    // "true" or "false"
};

struct SheetCell {
  CellKind kind = CellKind::Blank;
  std::string value;
};

using SheetRow = std::vector<SheetCell>;

// One row as a line, its '\n' included.
std::string SheetLine(const SheetRow& cells);
// The rows of lines SheetLine wrote.
std::vector<SheetRow> ReadSheetLines(const std::string& text);

}  // namespace cli
