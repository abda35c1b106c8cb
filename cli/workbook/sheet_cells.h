// A worksheet's XML as the texts of its cells, as a spreadsheet would save
// them to CSV: shared and inline strings, numbers (a whole number in full,
// never in scientific notation), TRUE and FALSE, and the value a formula
// had when the file was saved (a formula is never evaluated).
#pragma once

#include <string>
#include <vector>

#include "cli/format/csv_records.h"

namespace cli {

struct SheetCells {
  bool ok = false;
  // A record per row with a cell that is not blank, its line the row's
  // number; every record as wide as the first, the header. A cell right of
  // the header's last is an error.
  std::vector<CsvRecord> rows;
  std::string why;  // when not ok
};

SheetCells ReadSheetCells(const std::string& xml,
                          const std::vector<std::string>& sharedStrings);

// The texts of a shared strings part's items: the runs of each joined,
// without the phonetic guides.
bool ReadSharedStrings(const std::string& xml,
                       std::vector<std::string>* strings);

}  // namespace cli
