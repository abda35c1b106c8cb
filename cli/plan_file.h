// The address plan file: CSV with a header row, one device a row, as
// `search --format csv` writes it or a spreadsheet saves it (csv_records.h,
// text_encoding.h). "mac" and "ip" are required; "mask", "gateway", "mode"
// (or "ip_mode"), "base_port" and "http_port" are optional, and a blank cell
// keeps the device's value. Header names ignore case, and a space, a hyphen
// and an underscore are the same, so the search table's headings ("IP
// address", "Base port", ...) name the same columns. The other columns of
// search's output are ignored.
#pragma once

#include <string>
#include <vector>

#include "cli/settings_edit.h"

namespace cli {

// What a blank ip cell means.
enum class BlankIp {
  Refused,   // an error: every row plans its address
  Numbered,  // the row is numbered later; with this, the ip column may
             // be left out too
};

struct PlanRow {
  int line = 0;  // where the row starts in the file, from 1
  Mac mac{};
  // edit.ip is unset only for a blank ip cell read with BlankIp::Numbered.
  SettingsEdit edit;
};

struct PlanFile {
  bool ok = false;
  std::vector<PlanRow> rows;
  // "NAME:LINE: what is wrong"; what it quotes from the file is escaped by
  // Printable.
  std::string error;
};

// `text` is the file's bytes; `name` is the file name the messages give.
// Rows whose cells are all blank are skipped; a MAC planned twice is an
// error.
PlanFile ReadPlanCsv(const std::string& text, const std::string& name,
                     BlankIp blankIp);

}  // namespace cli
