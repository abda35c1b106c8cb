// The cells of a plan row that take more than one written form, read as a
// spreadsheet leaves them. False with `why` (the cell's text escaped by
// Printable) for a cell that cannot be read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/device/settings_edit.h"

namespace cli {

// The cell as it was before search's CSV guarded it: one ' before a text
// that a spreadsheet would take for a formula (LooksLikeFormula) is
// dropped.
std::string Unguarded(const std::string& cell);

// Every form ReadMacText reads. An all-digit cell of fewer than twelve digits
// gets its leading zeros back: a spreadsheet took it for a number and
// dropped them. A number in scientific notation ("1.23457E+11") has lost
// digits for good, and the message says how to keep them.
bool ReadMacCell(const std::string& cell, Mac* mac, std::string* why);

// A whole number, with a sign or a leading ' (which makes it text in a
// spreadsheet) or neither. A number that a spreadsheet wrote with a
// thousands separator or a decimal part ("8.000", "8,000", "8080,00",
// "8080.0") is refused, not guessed at: the message says so, and how to
// format the column. `column` names the cell in the message. A blank cell
// leaves `value` unset.
bool ReadWholeNumberCell(const std::string& cell, const char* column,
                         std::optional<std::int32_t>* value, std::string* why);

// "fixed", "dhcp", "pppoe", 0, 1 or 2, and the texts of the search report
// ("Fixed IP", "DHCP", "PPPoE (ADSL)"), in any case. A blank cell, or a
// whole number for a mode without a name (search reports the device's own
// number), leaves `mode` unset: the device keeps its mode.
bool ReadModeCell(const std::string& cell, std::optional<std::int32_t>* mode,
                  std::string* why);

}  // namespace cli
