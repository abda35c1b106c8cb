#include "tools/devsim/json_line.h"

#include "core/text/json_string.h"

namespace devsim {

void JsonLine::Key(const std::string& key) {
  if (!body_.empty()) body_ += ',';
  body_ += JsonString(key);
  body_ += ':';
}

JsonLine& JsonLine::Text(const std::string& key, const std::string& value) {
  Key(key);
  body_ += JsonString(value);
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
