#include "cli/format/display_width.h"

#include <utf8proc.h>

namespace cli {

// utf8proc's tables rather than the C library's wcwidth: mingw-w64 has
// none, and glibc's answers -1 for every non-ASCII character in the C
// locale the command line runs in.
std::size_t DisplayWidth(const std::string& utf8) {
  std::size_t width = 0;
  const auto* at = reinterpret_cast<const utf8proc_uint8_t*>(utf8.data());
  utf8proc_ssize_t left = static_cast<utf8proc_ssize_t>(utf8.size());
  while (left > 0) {
    utf8proc_int32_t code = 0;
    utf8proc_ssize_t read = utf8proc_iterate(at, left, &code);
    if (read < 1) {
      ++width;
      read = 1;
    } else {
      const int columns = utf8proc_charwidth(code);
      width += columns > 0 ? static_cast<std::size_t>(columns) : 0;
    }
    at += read;
    left -= read;
  }
  return width;
}

}  // namespace cli
