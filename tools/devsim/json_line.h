// Builds the one-line JSON objects the simulator prints, so that tests and
// scripts can read its output line by line.
#pragma once

#include <cstdint>
#include <string>

namespace devsim {

class JsonLine {
 public:
  JsonLine& Text(const std::string& key, const std::string& value);
  JsonLine& Number(const std::string& key, std::int64_t value);
  // `json` must already be a JSON value, e.g. another JsonLine's Str().
  JsonLine& Raw(const std::string& key, const std::string& json);
  // The object without a line end.
  std::string Str() const;

 private:
  void Key(const std::string& key);
  std::string body_;
};

}  // namespace devsim
