// A workbook (.xlsx) read as the cells of one sheet, for the plan reader:
// the same records as CSV's, so one set of rules reads both. A workbook is
// found by its content, not its name: a zip, or the compound file of a
// legacy .xls or of a password-protected workbook, which is refused with
// what to do instead.
#pragma once

#include <string>
#include <vector>

#include "cli/format/csv_records.h"

namespace cli {

// True for bytes that are a zip or a compound file, which ReadWorkbookCells
// reads or refuses; false for a text.
bool LooksLikeWorkbook(const std::string& bytes);

struct WorkbookCells {
  bool ok = false;
  std::string sheet;               // the name of the sheet read
  std::vector<CsvRecord> records;  // the header first; line: the row number
  std::string why;                 // when not ok
};

// The sheet named `sheet` (in any case), or the first one when it is empty.
WorkbookCells ReadWorkbookCells(const std::string& bytes,
                                const std::string& sheet);

}  // namespace cli
