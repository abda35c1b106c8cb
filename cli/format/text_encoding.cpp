#include "cli/format/text_encoding.h"

#include <cstddef>
#include <cstdint>

#include "core/text/utf8.h"

namespace cli {
namespace {

enum class ByteOrder { LittleEndian, BigEndian };

const std::string UTF8_MARK = "\xEF\xBB\xBF";

// The line (from 1) that the end of `text` is on; CRLF, LF and a lone CR
// each end a line, as the CSV reader counts them.
int LineAtEnd(const std::string& text) {
  int line = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' ||
        (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
      ++line;
  }
  return line;
}

// The text after the two bytes of the byte order mark.
Utf8Text FromUtf16(const std::string& bytes, ByteOrder order) {
  Utf8Text result;
  auto fail = [&result](const char* why) {
    result.failLine = LineAtEnd(result.text);
    result.why = why;
    result.text.clear();
    return result;
  };
  auto unit = [&bytes, order](std::size_t at) {
    const std::uint32_t first = static_cast<unsigned char>(bytes[at]);
    const std::uint32_t second = static_cast<unsigned char>(bytes[at + 1]);
    return order == ByteOrder::LittleEndian ? first | second << 8
                                            : first << 8 | second;
  };
  auto isLow = [](std::uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
  for (std::size_t i = 2; i < bytes.size(); i += 2) {
    if (i + 1 == bytes.size())
      return fail("the UTF-16 text ends in half a character");
    std::uint32_t code = unit(i);
    if (isLow(code)) return fail("a UTF-16 low surrogate without its pair");
    if (code >= 0xD800 && code <= 0xDBFF) {
      if (i + 3 >= bytes.size() || !isLow(unit(i + 2)))
        return fail("a UTF-16 high surrogate without its pair");
      code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    }
    AppendUtf8(code, &result.text);
  }
  result.ok = true;
  return result;
}

// The length of the valid UTF-8 sequence at `at`; 0 when there is none.
std::size_t SequenceLength(const std::string& text, std::size_t at) {
  struct Lead {
    unsigned char first, last;  // the lead bytes of this row
    unsigned char low, high;    // the second byte's range, which rules out
                                // overlong forms, surrogates and > U+10FFFF
    std::size_t length;
  };
  static const Lead LEADS[] = {
      {0xC2, 0xDF, 0x80, 0xBF, 2}, {0xE0, 0xE0, 0xA0, 0xBF, 3},
      {0xE1, 0xEC, 0x80, 0xBF, 3}, {0xED, 0xED, 0x80, 0x9F, 3},
      {0xEE, 0xEF, 0x80, 0xBF, 3}, {0xF0, 0xF0, 0x90, 0xBF, 4},
      {0xF1, 0xF3, 0x80, 0xBF, 4}, {0xF4, 0xF4, 0x80, 0x8F, 4},
  };
  const auto byte = [&text](std::size_t i) {
    return static_cast<unsigned char>(text[i]);
  };
  if (byte(at) < 0x80) return 1;
  for (const Lead& lead : LEADS) {
    if (byte(at) < lead.first || byte(at) > lead.last) continue;
    if (at + lead.length > text.size()) return 0;
    if (byte(at + 1) < lead.low || byte(at + 1) > lead.high) return 0;
    for (std::size_t i = at + 2; i < at + lead.length; ++i) {
      if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    }
    return lead.length;
  }
  return 0;
}

bool IsControl(const std::string& text, std::size_t at, std::size_t length) {
  const auto byte = [&text](std::size_t i) {
    return static_cast<unsigned char>(text[i]);
  };
  if (length == 1) return byte(at) < 0x20 || byte(at) == 0x7F;
  return length == 2 && byte(at) == 0xC2 && byte(at + 1) < 0xA0;
}

}  // namespace

Utf8Text AsUtf8(const std::string& bytes) {
  if (bytes.compare(0, 2, "\xFF\xFE") == 0)
    return FromUtf16(bytes, ByteOrder::LittleEndian);
  if (bytes.compare(0, 2, "\xFE\xFF") == 0)
    return FromUtf16(bytes, ByteOrder::BigEndian);
  Utf8Text result;
  result.ok = true;
  const bool marked = bytes.compare(0, UTF8_MARK.size(), UTF8_MARK) == 0;
  result.text = marked ? bytes.substr(UTF8_MARK.size()) : bytes;
  return result;
}

std::string Printable(const std::string& text) {
  static const char HEX[] = "0123456789ABCDEF";
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = SequenceLength(text, i);
    const bool escaped = length == 0 || IsControl(text, i, length);
    if (length == 0) length = 1;
    for (std::size_t end = i + length; i < end; ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      if (escaped) {
        out += "\\x";
        out.push_back(HEX[byte >> 4]);
        out.push_back(HEX[byte & 0x0F]);
      } else {
        out.push_back(text[i]);
      }
    }
  }
  return out;
}

std::string ValidUtf8(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = SequenceLength(text, i);
    if (length == 0) {
      AppendUtf8(0xFFFD, &out);
      ++i;
    } else {
      out.append(text, i, length);
      i += length;
    }
  }
  return out;
}

}  // namespace cli
