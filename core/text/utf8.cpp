#include "core/text/utf8.h"

#include <cstddef>

void AppendUtf8(std::uint32_t code, std::string* out) {
  if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0xFFFD;
  auto byte = [out](std::uint32_t value) {
    out->push_back(static_cast<char>(value));
  };
  if (code < 0x80) {
    byte(code);
  } else if (code < 0x800) {
    byte(0xC0 | code >> 6);
    byte(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    byte(0xE0 | code >> 12);
    byte(0x80 | (code >> 6 & 0x3F));
    byte(0x80 | (code & 0x3F));
  } else {
    byte(0xF0 | code >> 18);
    byte(0x80 | (code >> 12 & 0x3F));
    byte(0x80 | (code >> 6 & 0x3F));
    byte(0x80 | (code & 0x3F));
  }
}

std::string Utf8(const std::wstring& text) {
  auto isHigh = [](std::uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; };
  auto isLow = [](std::uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t code = static_cast<std::uint32_t>(text[i]);
    if (isHigh(code) && i + 1 < text.size() &&
        isLow(static_cast<std::uint32_t>(text[i + 1]))) {
      code = 0x10000 + ((code - 0xD800) << 10) +
             (static_cast<std::uint32_t>(text[++i]) - 0xDC00);
    }
    AppendUtf8(code, &out);
  }
  return out;
}
