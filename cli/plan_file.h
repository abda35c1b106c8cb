// The address plan file: CSV with a header row, one device a row. "mac" and
// "ip" are required; "mask", "gateway", "mode", "base_port" and "http_port"
// are optional, and a blank cell keeps the device's value.
#pragma once

#include <string>
#include <vector>

#include "cli/settings_edit.h"

namespace cli {

struct PlanRow {
  int line = 0;  // where the row starts in the file, from 1
  Mac mac{};
  SettingsEdit edit;  // edit.ip is always given
};

struct PlanFile {
  bool ok = false;
  std::vector<PlanRow> rows;
  // "NAME:LINE: what is wrong".
  std::string error;
};

// `name` is the file name the messages give. RFC 4180 quoting; unquoted
// cells are trimmed; blank lines are skipped; a leading UTF-8 byte order
// mark (as spreadsheets write it) is ignored.
PlanFile ReadPlanCsv(const std::string& text, const std::string& name);

}  // namespace cli
