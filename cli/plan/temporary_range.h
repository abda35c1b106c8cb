// The temporary addresses the user names for an applied plan: --temp A, or
// --temp A-B, an inclusive range.
#pragma once

#include <cstdint>
#include <string>

namespace cli {

struct TemporaryRange {
  std::uint32_t first = 0;
  std::uint32_t last = 0;
};

// "a.b.c.d" or "a.b.c.d-e.f.g.h" with the first not above the last.
bool ParseTemporaryRange(const std::string& text, TemporaryRange* range);

}  // namespace cli
