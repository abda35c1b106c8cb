#include "tools/devsim/onvif_identity.h"

#include <cstdio>

namespace devsim {
namespace {

// Far beyond a "urn:uuid:" and its 36 digits, still well inside a datagram.
constexpr std::size_t MAX_ENDPOINT = 256;

std::string MacDigits(const std::array<std::uint8_t, 6>& mac,
                      const char* format, const char* separator) {
  std::string text;
  for (std::size_t i = 0; i < mac.size(); ++i) {
    if (i > 0) text += separator;
    char digits[3];
    std::snprintf(digits, sizeof digits, format, mac[i]);
    text += digits;
  }
  return text;
}

}  // namespace

std::string MacScopeText(const std::array<std::uint8_t, 6>& mac,
                         MacScope scope) {
  switch (scope) {
    case MacScope::Colons:
      return MacDigits(mac, "%02X", ":");
    case MacScope::Hyphens:
      return MacDigits(mac, "%02x", "-");
    case MacScope::Bare:
      return MacDigits(mac, "%02x", "");
    default:
      return std::string();
  }
}

std::string DerivedEndpoint(const std::array<std::uint8_t, 6>& mac) {
  return "urn:uuid:51c0da7a-0000-4000-8000-" + MacDigits(mac, "%02x", "");
}

bool IsOnvifText(const std::string& text) {
  if (text.size() > MAX_ONVIF_TEXT) return false;
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == '"') return false;
  }
  return true;
}

bool IsEndpoint(const std::string& text) {
  if (text.empty() || text.size() > MAX_ENDPOINT) return false;
  for (char c : text) {
    if (c <= ' ' || c > '~' || c == '<' || c == '>' || c == '&' || c == '"')
      return false;
  }
  return true;
}

}  // namespace devsim
