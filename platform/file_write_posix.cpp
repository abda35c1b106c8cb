#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/file_open.h"
#include "platform/file_write.h"

std::FILE* OpenForWriting(const std::string& path) {
  return std::fopen(path.c_str(), "wb");
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

unsigned long ProcessNumber() { return static_cast<unsigned long>(getpid()); }

FileWritten MoveOver(const std::string& from, const std::string& to) {
  FileWritten result;
  result.ok = std::rename(from.c_str(), to.c_str()) == 0;
  if (!result.ok) {
    result.reason = std::strerror(errno);
    std::remove(from.c_str());
  }
  return result;
}

void RemoveQuietly(const std::string& path) { std::remove(path.c_str()); }
