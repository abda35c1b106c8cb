// One-line JSON objects, the output of the tools: a test or a script reads
// them line by line, compares them or picks single fields.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class JsonLine {
 public:
  JsonLine& Text(const std::string& key, const std::string& value);
  // Written as UTF-8.
  JsonLine& Text(const std::string& key, const std::wstring& value);
  JsonLine& Number(const std::string& key, std::int64_t value);
  JsonLine& Bool(const std::string& key, bool value);
  // `json` must already be a JSON value, e.g. JsonArray(...) or another Str().
  JsonLine& Raw(const std::string& key, const std::string& json);
  // The object without a line end.
  std::string Str() const;
  // Writes the object and a line end to standard output at once, so that a
  // reader sees every line complete even if the program ends right after.
  void Print() const;

 private:
  std::string body_;
};

// "[a,b,...]" of values that are JSON already.
std::string JsonArray(const std::vector<std::string>& elements);
