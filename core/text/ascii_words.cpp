#include "core/text/ascii_words.h"

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string Trimmed(const std::string& text) {
  const char* const BLANKS = " \t";
  const std::size_t first = text.find_first_not_of(BLANKS);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(BLANKS) - first + 1);
}

bool ParseInt32(const std::string& text, std::int32_t* value) {
  std::size_t i = text.empty() || (text[0] != '-' && text[0] != '+') ? 0 : 1;
  if (i == text.size()) return false;
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > 2147483648LL) return false;
  }
  const std::int64_t signedValue = text[0] == '-' ? -magnitude : magnitude;
  if (signedValue > 2147483647LL) return false;
  *value = static_cast<std::int32_t>(signedValue);
  return true;
}
