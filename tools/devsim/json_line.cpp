#include "tools/devsim/json_line.h"

#include <cstdio>

namespace devsim {

std::string JsonQuoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20 || byte >= 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  quoted += '"';
  return quoted;
}

void JsonLine::Key(const std::string& key) {
  if (!body_.empty()) body_ += ',';
  body_ += JsonQuoted(key);
  body_ += ':';
}

JsonLine& JsonLine::Text(const std::string& key, const std::string& value) {
  Key(key);
  body_ += JsonQuoted(value);
  return *this;
}

JsonLine& JsonLine::Number(const std::string& key, std::int64_t value) {
  Key(key);
  body_ += std::to_string(value);
  return *this;
}

JsonLine& JsonLine::Raw(const std::string& key, const std::string& json) {
  Key(key);
  body_ += json;
  return *this;
}

std::string JsonLine::Str() const { return "{" + body_ + "}"; }

}  // namespace devsim
