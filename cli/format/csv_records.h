// CSV as spreadsheets and Windows PowerShell save it, split into records.
// RFC 4180 quoting, with a comma, a semicolon (spreadsheets set for a
// language with the decimal comma) or a tab ("Unicode text") between cells.
#pragma once

#include <string>
#include <vector>

namespace cli {

struct CsvRecord {
  int line = 0;  // where the record starts in the file, from 1
  std::vector<std::string> cells;
};

struct CsvRecords {
  bool ok = false;
  // The header first. Records whose cells are all blank are left out.
  std::vector<CsvRecord> records;
  // When not ok: the line (from 1) and what is wrong there.
  int failLine = 0;
  std::string why;
};

// `text` is UTF-8 without a byte order mark (AsUtf8 makes it so). A first
// line "sep=X" (X a comma, semicolon or tab) names the separator, and a
// first line "#TYPE ..." (PowerShell's) is skipped; otherwise the separator
// is the one of the three that the header row holds most often outside
// quotes (a comma when it holds none). Unquoted cells are trimmed of spaces
// and tabs; quoted cells are kept as they are.
CsvRecords ReadCsvRecords(const std::string& text);

}  // namespace cli
