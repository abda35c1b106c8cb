#include <windows.h>

#include "devices/row_sort.h"

TextCompare PlatformTextCompare() { return lstrcmpW; }
