// The text encodings of files that users hand the command line, and the
// escape of what a terminal must not be sent. Spreadsheets and Windows
// PowerShell save text as UTF-8 with or without a byte order mark, or as
// UTF-16 (LE or BE) with one; the readers work on UTF-8 alone.
#pragma once

#include <string>

namespace cli {

struct Utf8Text {
  bool ok = false;
  // The text without its byte order mark.
  std::string text;
  // When not ok: the line (from 1) where the encoding breaks, and why.
  int failLine = 0;
  std::string why;
};

// `bytes` as UTF-8. A UTF-16 text (found by its byte order mark) is
// converted, surrogate pairs included; half a character or a lone surrogate
// is an error. Any other text is taken as it is, a UTF-8 mark dropped.
Utf8Text AsUtf8(const std::string& bytes);

// `text` with every byte a terminal could take as a command or cannot show
// written as \xNN: control characters (C0, DEL and C1) and the bytes of
// invalid UTF-8. Valid UTF-8 otherwise stays as it is.
std::string Printable(const std::string& text);

// `text` with each byte that is not part of valid UTF-8 replaced by U+FFFD,
// for a file format that must hold UTF-8 (a workbook would not open).
std::string ValidUtf8(const std::string& text);

}  // namespace cli
