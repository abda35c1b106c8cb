#include "tools/probe/json_line.h"

#include <cstdio>

namespace probe {

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr,
                                       0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), length, &bytes[0], size, nullptr,
                      nullptr);
  return bytes;
}

}  // namespace

std::string JsonQuoted(const std::wstring& text) {
  std::string quoted = "\"";
  for (char c : Utf8(text)) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (c == '\r') {
      quoted += "\\r";
    } else if (c == '\n') {
      quoted += "\\n";
    } else if (c == '\t') {
      quoted += "\\t";
    } else if (byte < 0x20) {
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
