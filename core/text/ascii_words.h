// Words and numbers as command lines and files write them: names that
// ignore case, and strict decimal numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// `text` with the ASCII capitals made small, for names that ignore case.
std::string AsciiLower(std::string text);

// `text` without the spaces and tabs around it, which a copy and paste or
// a hand-aligned file brings along.
std::string Trimmed(const std::string& text);

// Optional sign, then decimal digits only; refuses anything out of range.
bool ParseInt32(const std::string& text, std::int32_t* value);

// One name of an enum's value, for a table that reads and writes them.
template <typename Value>
struct NamedValue {
  const char* name;
  Value value;
};

// The value `text` names in `table`, in any case.
template <typename Value, std::size_t N>
bool ParseNamed(const std::string& text, const NamedValue<Value> (&table)[N],
                Value* value) {
  const std::string name = AsciiLower(text);
  for (const NamedValue<Value>& entry : table) {
    if (name != entry.name) continue;
    *value = entry.value;
    return true;
  }
  return false;
}

// The name of `value` in `table`; the first name when the table has none.
template <typename Value, std::size_t N>
const char* NameOf(const NamedValue<Value> (&table)[N], Value value) {
  for (const NamedValue<Value>& entry : table) {
    if (entry.value == value) return entry.name;
  }
  return table[0].name;
}
