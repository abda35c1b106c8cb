#include "cli/format/text_formats.h"

#include <algorithm>
#include <cstddef>

#include "cli/format/display_width.h"

namespace cli {
std::string Joined(const std::vector<std::string>& items,
                   const char* separator) {
  std::string text;
  for (const std::string& item : items)
    text += (text.empty() ? "" : separator) + item;
  return text;
}

std::string ListText(const std::vector<std::string>& items) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? " and " : ", ";
    text += items[i];
  }
  return text;
}

std::string Sentence(std::string text) {
  if (text.empty() || text.back() != '.') text.push_back('.');
  return text;
}

std::string OneLine(const std::wstring& message) {
  std::string line;
  bool blank = false;
  for (char c : Utf8(message)) {
    const bool space = c == ' ' || c == '\r' || c == '\n' || c == '\t';
    if (space) {
      blank = !line.empty();
      continue;
    }
    if (blank) line.push_back(' ');
    blank = false;
    line.push_back(c);
  }
  return line;
}

std::string CsvCell(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

bool LooksLikeFormula(const std::string& text) {
  return !text.empty() &&
         std::string("=+-@\t\r").find(text.front()) != std::string::npos;
}

std::string SpreadsheetText(const std::string& text) {
  return LooksLikeFormula(text) ? "'" + text : text;
}

std::string CsvLine(const std::vector<std::string>& cells) {
  std::string line;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i) line.push_back(',');
    line += CsvCell(cells[i]);
  }
  line.push_back('\n');
  return line;
}

std::string AlignedTable(const std::vector<std::string>& header,
                         const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::size_t> widths(header.size(), 0);
  auto measure = [&widths](const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i)
      widths[i] = std::max(widths[i], DisplayWidth(cells[i]));
  };
  measure(header);
  for (const auto& row : rows) measure(row);
  std::string out;
  auto write = [&](const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i) {
      line += cells[i];
      if (i + 1 < cells.size())
        line.append(widths[i] - DisplayWidth(cells[i]) + 2, ' ');
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out += line + "\n";
  };
  write(header);
  for (const auto& row : rows) write(row);
  return out;
}

}  // namespace cli
