#include "platform/file_read.h"

#include <cerrno>
#include <cstring>

#include "platform/file_open.h"

FileRead ReadWholeFile(const std::string& path) {
  FileRead result;
  std::FILE* file = OpenForReading(path);
  if (!file) {
    result.reason = std::strerror(errno);
    return result;
  }
  char buffer[65536];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    result.bytes.append(buffer, got);
  result.ok = !std::ferror(file);
  if (!result.ok) {
    result.reason = std::strerror(errno);
    result.bytes.clear();
  }
  std::fclose(file);
  return result;
}
