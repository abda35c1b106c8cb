// The one way the programs read their command lines: "--name value" and
// "--name=value", flags that take no value, and positional arguments. Each
// program says which names it knows and what they mean.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// A program's options as read, or why they could not be.
template <typename Options>
struct ParsedOptions {
  bool ok = false;
  Options options;
  std::string error;
};

enum class OptionKind { Unknown, Flag, Valued };

struct OptionReader {
  // What `name` (with its dashes) is to this program.
  std::function<OptionKind(const std::string& name)> kind;
  // One known option; a flag comes with an empty value. False with `error`
  // set when the value is bad.
  std::function<bool(const std::string& name, const std::string& value,
                     std::string* error)>
      option;
  // An argument that does not start with "--".
  std::function<bool(const std::string& arg, std::string* error)> positional;
  // Optional: what the message of an unknown option adds, such as a known
  // name close to it.
  std::function<std::string(const std::string& name)> unknown;
};

// Reads args[first...] in order and stops at the first error; true when
// every argument was read. An unknown option is "unknown option 'NAME'",
// followed by what `unknown` adds.
bool ReadOptions(const std::vector<std::string>& args, std::size_t first,
                 const OptionReader& reader, std::string* error);
