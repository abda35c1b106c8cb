// The three output forms of the command line, as plain text building blocks:
// JSON strings, RFC 4180 CSV cells and aligned table columns. Everything
// the program prints is UTF-8.
#pragma once

#include <string>
#include <vector>

#include "core/text/json_string.h"
#include "core/text/utf8.h"

namespace cli {

// A message of the window tool on one line: its line breaks become spaces.
std::string OneLine(const std::wstring& message);
// The items with `separator` between each two.
std::string Joined(const std::vector<std::string>& items,
                   const char* separator);
// "a", "a and b", "a, b and c".
std::string ListText(const std::vector<std::string>& items);
// `text` ending in a full stop, one added when it has none.
std::string Sentence(std::string text);

// A CSV cell, quoted when it holds a comma, a quote or a line break.
std::string CsvCell(const std::string& text);
// True for a text that a spreadsheet opening a CSV file takes for a formula:
// one that begins with '=', '+', '-', '@', a tab or a carriage return.
bool LooksLikeFormula(const std::string& text);
// A text that a device supplies (model, firmware) for a CSV cell. Anyone on
// the network can answer a search with any text, and a spreadsheet would
// run "=HYPERLINK(...)" as a formula: such a text gets a leading ', which
// makes it plain text.
std::string SpreadsheetText(const std::string& text);
std::string CsvLine(const std::vector<std::string>& cells);

// Columns padded to their widest cell, two spaces apart, the header first;
// trailing blanks are cut from each line.
std::string AlignedTable(const std::vector<std::string>& header,
                         const std::vector<std::vector<std::string>>& rows);

}  // namespace cli
