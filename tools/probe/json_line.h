// The probe's output: one-line JSON objects, as the other tools write them.
#pragma once

#include <windows.h>

#include <string>

#include "core/text/json_line.h"

namespace probe {

// A window handle as a plain number, ready to be passed on.
std::string HandleJson(HWND window);

}  // namespace probe
