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

std::string ValidUtf8(const std::string& bytes) {
  auto at = [&bytes](std::size_t i) {
    return static_cast<unsigned char>(bytes[i]);
  };
  std::string out;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char lead = at(i);
    if (lead < 0x80) {
      out.push_back(bytes[i++]);
      continue;
    }
    // The length a lead byte announces, and the range of the byte after
    // it, which shuts out overlong forms, surrogates and values past
    // U+10FFFF.
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    }
    std::size_t taken = 1;
    while (taken < length && i + taken < bytes.size()) {
      const unsigned char next = at(i + taken);
      if (next < (taken == 1 ? low : 0x80) || next > (taken == 1 ? high : 0xBF))
        break;
      ++taken;
    }
    if (length != 0 && taken == length)
      out.append(bytes, i, length);
    else
      AppendUtf8(0xFFFD, &out);
    i += taken;
  }
  return out;
}
