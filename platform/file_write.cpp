#include "platform/file_write.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/file_open.h"

std::string TemporaryBeside(const std::string& target) {
  static std::atomic<unsigned> count{0};
  return FolderOf(target) + ".quellan-" + std::to_string(ProcessNumber()) +
         "-" + std::to_string(++count) + ".tmp";
}

FileWritten WriteNewFile(const std::string& path, const std::string& bytes) {
  FileWritten result;
  std::FILE* file = OpenForWriting(path);
  if (!file) {
    result.reason = std::strerror(errno);
    return result;
  }
  const bool written =
      std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int error = errno;
  result.ok = std::fclose(file) == 0 && written;
  if (!result.ok) {
    result.reason = std::strerror(written ? errno : error);
    std::remove(path.c_str());
  }
  return result;
}
