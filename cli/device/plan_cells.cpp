#include "cli/device/plan_cells.h"

#include <cstddef>

#include "cli/device/found_device.h"
#include "cli/format/text_encoding.h"
#include "cli/format/text_formats.h"

namespace cli {
namespace {

constexpr std::size_t MAC_DIGITS = 12;
const char* const DIGITS = "0123456789";

bool AllDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of(DIGITS) == std::string::npos;
}

// "1.23457E+11", "1,23457E+11", "1E+11", "1e11": how a spreadsheet shows a
// long number in a cell too narrow for it, and saves it so.
bool IsScientific(const std::string& text) {
  const std::size_t e = text.find_first_of("eE");
  if (e == std::string::npos) return false;
  const std::string mantissa = text.substr(0, e);
  const std::size_t point = mantissa.find_first_of(".,");
  const bool fraction =
      point == std::string::npos || AllDigits(mantissa.substr(point + 1));
  const std::size_t exponent = e + (text.compare(e + 1, 1, "+") == 0 ? 2 : 1);
  return AllDigits(mantissa.substr(0, point)) && fraction &&
         AllDigits(text.substr(exponent));
}

}  // namespace

std::string Unguarded(const std::string& cell) {
  const bool guarded = cell.size() > 1 && cell.front() == '\'' &&
                       LooksLikeFormula(cell.substr(1));
  return guarded ? cell.substr(1) : cell;
}

bool ReadMacCell(const std::string& cell, Mac* mac, std::string* why) {
  if (cell.empty()) {
    *why = "the mac cell is blank";
    return false;
  }
  const bool shortNumber = AllDigits(cell) && cell.size() < MAC_DIGITS;
  if (ParseMac(shortNumber ? std::string(MAC_DIGITS - cell.size(), '0') + cell
                           : cell,
               mac))
    return true;
  *why = "bad MAC address '" + Printable(cell) + "'";
  if (IsScientific(cell)) {
    *why +=
        ": the spreadsheet wrote it as a number in scientific notation and "
        "lost digits; format the mac column as text in the spreadsheet and "
        "enter the addresses again";
  }
  return false;
}

bool ReadModeCell(const std::string& cell, std::optional<std::int32_t>* mode,
                  std::string* why) {
  if (cell.empty()) return true;
  std::int32_t value = 0;
  if (ParseMode(cell, &value)) {
    *mode = value;
    return true;
  }
  for (std::int32_t named : {IP_MODE_FIXED, IP_MODE_DHCP, IP_MODE_PPPOE}) {
    if (AsciiLower(cell) == AsciiLower(ModeText(named))) {
      *mode = named;
      return true;
    }
  }
  if (ParseInt32(cell, &value)) {
    if (!ModeText(value).empty()) *mode = value;
    return true;
  }
  *why = "bad mode '" + Printable(cell) +
         "' (fixed, dhcp or pppoe, or a mode number)";
  return false;
}

}  // namespace cli
