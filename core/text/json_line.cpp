#include "core/text/json_line.h"

#include <cstdio>

#include "core/text/json_string.h"
#include "core/text/utf8.h"

JsonLine& JsonLine::Raw(const std::string& key, const std::string& json) {
  if (!body_.empty()) body_ += ',';
  body_ += JsonString(key) + ':' + json;
  return *this;
}

JsonLine& JsonLine::Text(const std::string& key, const std::string& value) {
  return Raw(key, JsonString(value));
}

JsonLine& JsonLine::Text(const std::string& key, const std::wstring& value) {
  return Raw(key, JsonString(Utf8(value)));
}

JsonLine& JsonLine::Number(const std::string& key, std::int64_t value) {
  return Raw(key, std::to_string(value));
}

JsonLine& JsonLine::Bool(const std::string& key, bool value) {
  return Raw(key, value ? "true" : "false");
}

std::string JsonLine::Str() const { return "{" + body_ + "}"; }

void JsonLine::Print() const {
  const std::string line = Str() + "\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

std::string JsonArray(const std::vector<std::string>& elements) {
  std::string array = "[";
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (i > 0) array += ',';
    array += elements[i];
  }
  return array + ']';
}
