#include <cwchar>

#include "core/devices/row_sort.h"

TextCompare PlatformTextCompare() {
  return [](const wchar_t* a, const wchar_t* b) { return std::wcscmp(a, b); };
}
