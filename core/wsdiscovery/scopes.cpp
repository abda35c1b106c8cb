#include "core/wsdiscovery/scopes.h"

#include <cctype>

#include "core/text/utf8.h"

namespace {

constexpr const char* ONVIF_SCOPE = "onvif://www.onvif.org/";

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

std::optional<MacAddress> ScopeMac(const std::string& value) {
  MacAddress mac{};
  if (ParseMac(value, &mac)) return mac;
  std::string digits;
  for (char c : value) {
    if (c == ':' || c == '-' || c == '.' || c == '_') continue;
    digits.push_back(c);
  }
  if (ParseMac(digits, &mac)) return mac;
  return std::nullopt;
}

void Keep(std::string& field, const std::string& value) {
  if (field.empty()) field = value;
}

}  // namespace

std::string PercentDecoded(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int high = HexValue(text[i + 1]);
      const int low = HexValue(text[i + 2]);
      const int byte = high * 16 + low;
      if (high >= 0 && low >= 0 && byte >= 0x20 && byte != 0x7F) {
        out.push_back(static_cast<char>(byte));
        i += 2;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

OnvifScopes ReadScopes(const std::vector<std::string>& scopes) {
  const std::string head = ONVIF_SCOPE;
  OnvifScopes read;
  for (const std::string& scope : scopes) {
    if (scope.size() <= head.size() ||
        !SameIgnoringCase(scope.substr(0, head.size()), head))
      continue;
    const std::size_t slash = scope.find('/', head.size());
    if (slash == std::string::npos) continue;
    const std::string category = scope.substr(head.size(), slash - head.size());
    // Decoded bytes may be Latin-1 or garbage; what is written out parses.
    const std::string value =
        ValidUtf8(PercentDecoded(scope.substr(slash + 1)));
    if (value.empty()) continue;
    if (SameIgnoringCase(category, "name"))
      Keep(read.name, value);
    else if (SameIgnoringCase(category, "hardware"))
      Keep(read.hardware, value);
    else if (SameIgnoringCase(category, "location"))
      Keep(read.location, value);
    else if (SameIgnoringCase(category, "mac") && !read.mac)
      read.mac = ScopeMac(value);
  }
  return read;
}
