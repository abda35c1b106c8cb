#include "tests/probe/json_field.h"

namespace {

// The end of the value that starts at `from`: the first ',' or '}' at the
// value's own nesting level, outside strings.
std::size_t ValueEnd(const std::string& line, std::size_t from) {
  int depth = 0;
  bool inString = false;
  for (std::size_t i = from; i < line.size(); ++i) {
    const char c = line[i];
    if (inString) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      ++depth;
    } else if (c == ']' || c == '}') {
      if (depth == 0) return i;
      --depth;
    } else if (c == ',' && depth == 0) {
      return i;
    }
  }
  return line.size();
}

}  // namespace

std::string JsonField(const std::string& line, const std::string& key) {
  const std::string pattern = "\"" + key + "\":";
  int depth = 0;
  bool inString = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (inString) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        inString = false;
      }
      continue;
    }
    if (c == '{' || c == '[') {
      ++depth;
    } else if (c == '}' || c == ']') {
      --depth;
    } else if (c == '"') {
      if (depth == 1 && line.compare(i, pattern.size(), pattern) == 0) {
        const std::size_t start = i + pattern.size();
        return line.substr(start, ValueEnd(line, start) - start);
      }
      inString = true;
    }
  }
  return "";
}
