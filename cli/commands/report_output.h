// Where a command's report goes: standard output, or the file --output
// names. A file is written under a temporary name beside it and renamed
// over it at the end, so a stop or a failure never leaves half a report
// under its name. A workbook goes to a file, or to a standard output that
// is not a terminal.
#pragma once

#include <optional>
#include <string>

#include "cli/commands/options.h"
#include "cli/workbook/workbook_write.h"

namespace cli {

struct Report {
  // The format's text; for a workbook, the lines (sheet_lines.h) of its
  // first sheet, "Devices".
  std::string text;
  // A search's workbook only: the hand-over sheet after it.
  std::optional<WorkbookSheet> site;
};

// Why the report cannot go where the options send it, checked before any
// search; empty when it can.
std::string OutputProblem(const Options& options);

// Writes the report; false after telling why it could not.
bool Deliver(const Options& options, const Report& report);

}  // namespace cli
