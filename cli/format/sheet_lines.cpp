#include "cli/format/sheet_lines.h"

namespace cli {
namespace {

// The letter of each CellKind, in the order of its values.
constexpr char KIND_LETTERS[] = "btnf";

}  // namespace

std::string SheetLine(const SheetRow& cells) {
  std::string line;
  for (const SheetCell& cell : cells) {
    if (!line.empty()) line.push_back('\t');
    line.push_back(KIND_LETTERS[static_cast<int>(cell.kind)]);
    for (char c : cell.value) {
      switch (c) {
        case '\\':
          line += "\\\\";
          break;
        case '\t':
          line += "\\t";
          break;
        case '\n':
          line += "\\n";
          break;
        case '\r':
          line += "\\r";
          break;
        default:
          line.push_back(c);
      }
    }
  }
  line.push_back('\n');
  return line;
}

std::vector<SheetRow> ReadSheetLines(const std::string& text) {
  std::vector<SheetRow> rows;
  bool fresh = true;  // the next byte starts a cell
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n') {
      fresh = true;
      continue;
    }
    if (fresh) {
      if (i == 0 || text[i - 1] == '\n') rows.emplace_back();
      const char* kind = std::char_traits<char>::find(KIND_LETTERS, 4, c);
      rows.back().push_back(
          {kind ? static_cast<CellKind>(kind - KIND_LETTERS) : CellKind::Text,
           {}});
      fresh = false;
    } else if (c == '\t') {
      fresh = true;
    } else if (c == '\\' && i + 1 < text.size()) {
      const char next = text[++i];
      rows.back().back().value.push_back(next == 't'   ? '\t'
                                         : next == 'n' ? '\n'
                                         : next == 'r' ? '\r'
                                                       : next);
    } else {
      rows.back().back().value.push_back(c);
    }
  }
  return rows;
}

}  // namespace cli
