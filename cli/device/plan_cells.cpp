#include "cli/device/plan_cells.h"

#include <cstddef>

#include "cli/device/found_device.h"
#include "cli/device/mac_text.h"
#include "cli/format/text_encoding.h"
#include "cli/format/text_formats.h"
#include "core/text/ascii_words.h"

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

// Digits in groups of three after the first ("8.000", "12,345,678"): a
// thousands separator, or one to three decimals.
bool IsGrouped(const std::string& text, char separator) {
  const std::size_t first = text.find(separator);
  if (first == std::string::npos || first == 0 || first > 3 ||
      !AllDigits(text.substr(0, first)))
    return false;
  for (std::size_t at = first; at < text.size(); at += 4) {
    if (text.size() < at + 4 || text[at] != separator ||
        !AllDigits(text.substr(at + 1, 3)))
      return false;
  }
  return true;
}

// A whole number with zeros after a decimal point or comma ("8080,00").
bool HasZeroDecimals(const std::string& text) {
  const std::size_t point = text.find_first_of(".,");
  return point != std::string::npos && AllDigits(text.substr(0, point)) &&
         point + 1 < text.size() &&
         text.find_first_not_of('0', point + 1) == std::string::npos;
}

// How a spreadsheet's number format may have written a whole number that
// no longer reads as one; empty when it is no such number.
std::string SpreadsheetNumberHint(const std::string& cell, const char* column) {
  const std::string digits =
      cell.compare(0, 1, "-") == 0 || cell.compare(0, 1, "+") == 0
          ? cell.substr(1)
          : cell;
  const bool grouped = IsGrouped(digits, '.') || IsGrouped(digits, ',');
  const bool decimals = HasZeroDecimals(digits);
  if (!grouped && !decimals) return std::string();
  const char* how = grouped && decimals
                        ? "a thousands separator or a decimal part"
                    : grouped ? "a thousands separator"
                              : "a decimal part";
  return std::string(": the spreadsheet wrote it with ") + how +
         "; format the " + column +
         " column as a number with no decimal places and no thousands "
         "separator (or as text), enter the value again and save";
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
  if (ReadMacText(shortNumber
                      ? std::string(MAC_DIGITS - cell.size(), '0') + cell
                      : cell,
                  mac))
    return true;
  *why = "bad MAC address '" + Printable(cell) + "'";
  if (!IsScientific(cell)) {
    *why += " (write it " + std::string(MAC_FORMS) + ")";
  } else {
    *why +=
        ": the spreadsheet wrote it as a number in scientific notation and "
        "lost digits; format the mac column as text in the spreadsheet and "
        "enter the addresses again";
  }
  return false;
}

bool ReadWholeNumberCell(const std::string& cell, const char* column,
                         std::optional<std::int32_t>* value, std::string* why) {
  if (cell.empty()) return true;
  // One ' keeps a spreadsheet from reading the cell as a number.
  const std::string number = cell.front() == '\'' ? cell.substr(1) : cell;
  std::int32_t read = 0;
  if (ParseInt32(number, &read)) {
    *value = read;
    return true;
  }
  *why = std::string("bad ") + column + " '" + Printable(cell) + "'" +
         SpreadsheetNumberHint(number, column);
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
