// The address plan file: CSV with a header row, one device a row, as
// `search --format csv` writes it or a spreadsheet saves it (csv_records.h,
// text_encoding.h). "mac" is required, with one or more of the setting
// columns that SETTINGS names; a blank cell keeps the device's value. Header
// names ignore case, and a space, a hyphen and an underscore are the same,
// so the search table's headings ("IP address", "Base port", ...) name the
// same columns. The other columns of search's output are ignored, and so
// are columns of the installer's own (Notes, a Room), which the warning
// names.
#pragma once

#include <string>
#include <vector>

#include "cli/device/settings_edit.h"
#include "cli/format/csv_records.h"

namespace cli {

// What a blank ip cell means.
enum class BlankIp {
  Kept,      // the device keeps its address
  Numbered,  // the row is numbered later; with this, the plan may have no
             // setting column at all (a list of MACs)
};

enum class PlanRowKind {
  Device,
  // A row of search's output whose protocol is onvif: its device is known
  // by the address it shows, since the MAC, when there is one, may be the
  // neighbour table's guess of the day. It reads, to be unchanged or to be
  // reported as one that cannot be changed.
  OnvifOnly,
};

struct PlanRow {
  int line = 0;  // where the row starts in the file, from 1
  PlanRowKind kind = PlanRowKind::Device;
  Mac mac{};
  bool macGiven = true;  // false for an OnvifOnly row with a blank mac
  // Unset where the cell is blank or the column missing.
  SettingsEdit edit;
};

struct PlanFile {
  bool ok = false;
  std::vector<PlanRow> rows;
  // When not ok: "NAME:LINE: what is wrong", one per error in file order,
  // what it quotes from the file escaped by Printable; past
  // PlanProblems::SHOWN of them, a last line counts the rest.
  std::vector<std::string> errors;
  // When ok: "NAME: ignored the columns 'Location' and 'Notes'" for the
  // columns the plan does not know, or empty.
  std::string warning;
};

// `text` is the file's bytes; `name` is the file name the messages give.
// Rows whose cells are all blank are skipped; a MAC planned twice is an
// error. A broken encoding or quoting ends the reading at its line; every
// bad row or cell after a good header is reported.
PlanFile ReadPlanCsv(const std::string& text, const std::string& name,
                     BlankIp blankIp);

// The rules of a plan on a sheet's rows however they were stored: the
// header first, then the rows, each with its line (or row number) and its
// cells as text.
PlanFile ReadPlanRecords(const std::vector<CsvRecord>& records,
                         const std::string& name, BlankIp blankIp);

}  // namespace cli
