#include "tools/probe/json_line.h"

#include <cstdint>

namespace probe {

std::string HandleJson(HWND window) {
  return std::to_string(reinterpret_cast<std::uintptr_t>(window));
}

}  // namespace probe
