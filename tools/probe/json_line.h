// One-line JSON objects, the probe's output format: a shell script reads them
// line by line, a test compares them or picks single fields.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace probe {

class JsonLine {
 public:
  JsonLine& Text(const char* key, const std::wstring& value);
  JsonLine& Number(const char* key, std::int64_t value);
  JsonLine& Bool(const char* key, bool value);
  // Window handles are printed as plain numbers, ready to be passed on.
  JsonLine& Handle(const char* key, HWND value);
  // `json` must already be a JSON value, e.g. JsonArray(...) or another Str().
  JsonLine& Raw(const char* key, const std::string& json);
  // The object without a line end.
  std::string Str() const;
  // Writes the object and a line end to stdout at once, so that a reader
  // sees every line complete even if the probe ends right afterwards.
  void Print() const;

 private:
  void Key(const char* key);
  std::string body_;
};

// A JSON string, UTF-8 encoded, with quotes, backslashes and control
// characters escaped.
std::string JsonQuoted(const std::wstring& text);
std::string JsonArray(const std::vector<std::string>& elements);

}  // namespace probe
