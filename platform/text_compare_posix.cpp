#include <cstdint>
#include <cwchar>
#include <string>

#include "core/devices/row_sort.h"

TextCompare PlatformTextCompare() {
  return [](const wchar_t* a, const wchar_t* b) { return std::wcscmp(a, b); };
}

// Each character as four bytes, most significant first: the byte order is
// wcscmp's order of the characters' values, and a shorter text that begins
// another sorts first in both.
SortKey PlatformSortKey() {
  return [](const wchar_t* text) {
    std::string key;
    for (; *text; ++text) {
      const auto value = static_cast<std::uint32_t>(*text);
      for (int shift = 24; shift >= 0; shift -= 8)
        key.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
    return key;
  };
}
