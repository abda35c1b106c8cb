#include "tests/support/hex.h"

#include <stdexcept>

namespace {
int Nibble(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  throw std::invalid_argument("not a hex digit");
}
}  // namespace

std::vector<std::uint8_t> FromHex(const std::string& text) {
  std::vector<std::uint8_t> bytes;
  int high = -1;
  for (char c : text) {
    if (c == ' ' || c == '\n') continue;
    if (high < 0) {
      high = Nibble(c);
    } else {
      bytes.push_back(static_cast<std::uint8_t>(high << 4 | Nibble(c)));
      high = -1;
    }
  }
  if (high >= 0) throw std::invalid_argument("odd number of hex digits");
  return bytes;
}

std::string ToHex(const std::uint8_t* bytes, std::size_t size) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (std::size_t i = 0; i < size; ++i) {
    if (i) text.push_back(' ');
    text.push_back(digits[bytes[i] >> 4]);
    text.push_back(digits[bytes[i] & 15]);
  }
  return text;
}
