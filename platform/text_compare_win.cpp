#include <windows.h>

#include "core/devices/row_sort.h"

TextCompare PlatformTextCompare() { return lstrcmpW; }
