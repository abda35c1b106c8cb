#include <unistd.h>

#include <cstdio>

#include "platform/console_text.h"

void WriteStandard(StandardStream stream, const std::string& text) {
  std::FILE* file = stream == StandardStream::Output ? stdout : stderr;
  std::fputs(text.c_str(), file);
  std::fflush(file);
}

bool IsTerminal(StandardStream stream) {
  return isatty(stream == StandardStream::Output ? STDOUT_FILENO
                                                 : STDERR_FILENO) == 1;
}

void WriteStandardBytes(const std::string& bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}
