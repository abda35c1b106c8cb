#include "cli/format/csv_records.h"

#include <cstddef>

#include "cli/format/text_encoding.h"
#include "core/text/ascii_words.h"

namespace cli {
namespace {

const char SEPARATORS[] = {',', ';', '\t'};

bool IsSeparator(char c) {
  for (char separator : SEPARATORS) {
    if (c == separator) return true;
  }
  return false;
}

// Where reading goes on after the hint lines, and the separator they name
// (0 for none).
struct Preamble {
  std::size_t start = 0;
  int line = 1;
  char separator = 0;
};

// Reads the hint lines: "sep=X" (Excel's; a spreadsheet that read the file
// may write it back followed by more separators) and "#TYPE ..."
// (PowerShell's), each at most once, before the header.
bool ReadPreamble(const std::string& text, Preamble* preamble,
                  std::string* why) {
  bool sawType = false;
  for (;;) {
    const std::size_t end = text.find_first_of("\r\n", preamble->start);
    const std::string line =
        text.substr(preamble->start, end - preamble->start);
    const std::string head = AsciiLower(line.substr(0, 5));
    if (preamble->separator == 0 && head.compare(0, 4, "sep=") == 0) {
      const char separator = line.size() > 4 ? line[4] : 0;
      if (!IsSeparator(separator) ||
          line.find_first_not_of(separator, 4) != std::string::npos) {
        *why = "the line '" + Printable(line) +
               "' names no separator: sep= takes a comma, a semicolon or a "
               "tab";
        return false;
      }
      preamble->separator = separator;
    } else if (!sawType && head == "#type") {
      sawType = true;
    } else {
      return true;
    }
    if (end == std::string::npos) {
      preamble->start = text.size();
      return true;
    }
    const bool crlf = text.compare(end, 2, "\r\n") == 0;
    preamble->start = end + (crlf ? 2 : 1);
    ++preamble->line;
  }
}

// The separator the header row (the first line that holds more than blanks)
// holds most often outside quotes; a comma when it holds none, and the
// first of SEPARATORS on a tie.
char HeaderSeparator(const std::string& text, std::size_t from) {
  int counts[sizeof SEPARATORS] = {};
  bool started = false;
  bool inQuotes = false;
  for (std::size_t i = from; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      inQuotes = !inQuotes;  // a doubled quote turns it back
      started = true;
    } else if (inQuotes) {
      continue;
    } else if (c == '\r' || c == '\n') {
      if (started) break;
    } else {
      started = started || (c != ' ' && c != '\t');
      for (std::size_t s = 0; started && s < sizeof SEPARATORS; ++s) {
        if (c == SEPARATORS[s]) ++counts[s];
      }
    }
  }
  std::size_t best = 0;
  for (std::size_t s = 1; s < sizeof SEPARATORS; ++s) {
    if (counts[s] > counts[best]) best = s;
  }
  return SEPARATORS[best];
}

// Splits the text from `preamble.start` into records. False with the line
// and why for a quote that is never closed or text after a closing quote.
bool SplitRecords(const std::string& text, const Preamble& preamble,
                  char separator, CsvRecords* out) {
  int line = preamble.line;
  CsvRecord record{line, {}};
  std::string cell;
  bool quoted = false;    // the current cell began with a quote
  bool inQuotes = false;  // ... and it is still open
  bool blank = true;      // every cell of the record so far is blank
  auto endCell = [&] {
    record.cells.push_back(quoted ? cell : Trimmed(cell));
    blank = blank && record.cells.back().empty();
    cell.clear();
    quoted = false;
  };
  auto endRecord = [&] {
    endCell();
    if (!blank) out->records.push_back(record);
    record = CsvRecord{line, {}};
    blank = true;
  };
  for (std::size_t i = preamble.start; i < text.size(); ++i) {
    const char c = text[i];
    if (inQuotes) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        cell.push_back('"');
        ++i;
      } else if (c == '"') {
        inQuotes = false;
      } else {
        if (c == '\n') ++line;
        cell.push_back(c);
      }
      continue;
    }
    if (c == separator) {
      endCell();
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      ++line;
      endRecord();
    } else if (quoted) {
      if (c != ' ' && c != '\t') {
        out->failLine = line;
        out->why = "text after a closing quote";
        return false;
      }
    } else if (c == '"' && Trimmed(cell).empty()) {
      cell.clear();
      quoted = inQuotes = true;
    } else {
      cell.push_back(c);
    }
  }
  if (inQuotes) {
    out->failLine = record.line;
    out->why = "a quoted cell is never closed";
    return false;
  }
  endRecord();
  return true;
}

}  // namespace

CsvRecords ReadCsvRecords(const std::string& text) {
  CsvRecords out;
  Preamble preamble;
  if (!ReadPreamble(text, &preamble, &out.why)) {
    out.failLine = preamble.line;
    return out;
  }
  const char separator = preamble.separator != 0
                             ? preamble.separator
                             : HeaderSeparator(text, preamble.start);
  if (!SplitRecords(text, preamble, separator, &out)) {
    out.records.clear();
    return out;
  }
  out.ok = true;
  return out;
}

}  // namespace cli
