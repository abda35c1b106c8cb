#include "tools/probe/json_line.h"

#include <cstdio>

#include "core/text/json_string.h"
#include "core/text/utf8.h"

namespace probe {

std::string JsonQuoted(const std::wstring& text) {
  return JsonString(Utf8(text));
}

std::string JsonArray(const std::vector<std::string>& elements) {
  std::string array = "[";
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (i > 0) array += ',';
    array += elements[i];
  }
  array += ']';
  return array;
}

void JsonLine::Key(const char* key) {
  if (!body_.empty()) body_ += ',';
  body_ += '"';
  body_ += key;
  body_ += "\":";
}

JsonLine& JsonLine::Text(const char* key, const std::wstring& value) {
  Key(key);
  body_ += JsonQuoted(value);
  return *this;
}

JsonLine& JsonLine::Number(const char* key, std::int64_t value) {
  Key(key);
  body_ += std::to_string(value);
  return *this;
}

JsonLine& JsonLine::Bool(const char* key, bool value) {
  Key(key);
  body_ += value ? "true" : "false";
  return *this;
}

JsonLine& JsonLine::Handle(const char* key, HWND value) {
  Key(key);
  body_ += std::to_string(reinterpret_cast<std::uintptr_t>(value));
  return *this;
}

JsonLine& JsonLine::Raw(const char* key, const std::string& json) {
  Key(key);
  body_ += json;
  return *this;
}

std::string JsonLine::Str() const { return "{" + body_ + "}"; }

void JsonLine::Print() const {
  const std::string line = Str() + "\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

}  // namespace probe
