#include "tools/devsim/onvif_identity.h"

#include <cstdio>

namespace devsim {
namespace {

// Far beyond a "urn:uuid:" and its 36 digits, still well inside a datagram.
constexpr std::size_t MAX_ENDPOINT = 256;

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

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

bool ParseProtocols(const std::string& text, Protocols* protocols) {
  const std::string name = Lower(text);
  if (name == "quellan") {
    *protocols = Protocols::Quellan;
  } else if (name == "onvif") {
    *protocols = Protocols::Onvif;
  } else if (name == "quellan+onvif") {
    *protocols = Protocols::QuellanAndOnvif;
  } else {
    return false;
  }
  return true;
}

const char* ProtocolsName(Protocols protocols) {
  switch (protocols) {
    case Protocols::Onvif:
      return "onvif";
    case Protocols::QuellanAndOnvif:
      return "quellan+onvif";
    default:
      return "quellan";
  }
}

bool ParseMacScope(const std::string& text, MacScope* scope) {
  const std::string name = Lower(text);
  if (name == "none") {
    *scope = MacScope::None;
  } else if (name == "colons") {
    *scope = MacScope::Colons;
  } else if (name == "hyphens") {
    *scope = MacScope::Hyphens;
  } else if (name == "bare") {
    *scope = MacScope::Bare;
  } else {
    return false;
  }
  return true;
}

const char* MacScopeName(MacScope scope) {
  switch (scope) {
    case MacScope::Colons:
      return "colons";
    case MacScope::Hyphens:
      return "hyphens";
    case MacScope::Bare:
      return "bare";
    default:
      return "none";
  }
}

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
