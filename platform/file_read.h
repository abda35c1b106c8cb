// Whole files read by their UTF-8 names, on every platform: on Windows the
// name is opened as the wide path it stands for, so any character works.
#pragma once

#include <string>

struct FileRead {
  bool ok = false;
  std::string bytes;
  // When not ok: the system's reason, e.g. "No such file or directory".
  std::string reason;
};

FileRead ReadWholeFile(const std::string& path);
