#include <windows.h>

#include <string>

#include "core/devices/row_sort.h"

TextCompare PlatformTextCompare() { return lstrcmpW; }

// lstrcmpW compares in the thread's locale with no flags; the sort key of
// that locale and those flags orders the same way when its bytes are
// compared.
SortKey PlatformSortKey() {
  return [](const wchar_t* text) {
    const LCID locale = GetThreadLocale();
    std::string key;
    const int size = LCMapStringW(locale, LCMAP_SORTKEY, text, -1, nullptr, 0);
    if (size <= 0) return key;
    key.resize(static_cast<std::size_t>(size));
    LCMapStringW(locale, LCMAP_SORTKEY, text, -1,
                 reinterpret_cast<wchar_t*>(key.data()), size);
    // The key ends with a zero byte, which takes no part in the order.
    key.pop_back();
    return key;
  };
}
