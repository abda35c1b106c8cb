// The common controls header, which needs the Windows types declared
// before it.
#pragma once

#include <windows.h>
// Kept apart so that sorting the includes leaves it after windows.h.
#include <commctrl.h>
