// A report as a workbook file, written with libxlsxwriter: typed cells, the
// header row of each table bold and frozen, an autofilter over the table,
// and columns as wide as their texts.
#pragma once

#include <string>
#include <vector>

#include "cli/format/sheet_lines.h"

namespace cli {

struct WorkbookSheet {
  std::string name;
  std::vector<SheetRow> rows;
  // The row (from 0) that heads the table filling the rest of the sheet.
  std::size_t headerRow = 0;
};

struct WorkbookWritten {
  bool ok = false;
  std::string why;  // when not ok
};

// Writes the sheets, in order, to a new file `path`, whose name must be
// ASCII (the library opens it by a name in the code page on Windows).
// Texts that are not valid UTF-8 get U+FFFD for their bad bytes.
WorkbookWritten WriteWorkbook(const std::string& path,
                              const std::vector<WorkbookSheet>& sheets);

}  // namespace cli
