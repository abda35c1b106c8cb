#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/file_open.h"
#include "platform/file_write.h"
#include "platform/wide_path_win.h"

std::FILE* OpenForWriting(const std::string& path) {
  std::wstring wide;
  return WidePath(path, &wide) ? _wfopen(wide.c_str(), L"wb") : nullptr;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\:");
  if (slash == std::string::npos) return {};
  const std::string folder = path.substr(0, slash + 1);
  // A writer that opens files by their code-page names (libxlsxwriter's
  // zip) loses any other character: the folder's short name has none.
  std::wstring wide;
  if (!WidePath(folder, &wide)) return folder;
  wchar_t shortName[MAX_PATH];
  const DWORD length = GetShortPathNameW(wide.c_str(), shortName, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return folder;
  std::string ascii;
  for (const wchar_t* c = shortName; *c; ++c) {
    if (*c >= 0x80) return folder;
    ascii.push_back(static_cast<char>(*c));
  }
  return ascii;
}

unsigned long ProcessNumber() { return GetCurrentProcessId(); }

FileWritten MoveOver(const std::string& from, const std::string& to) {
  FileWritten result;
  std::wstring wideFrom, wideTo;
  if (!WidePath(from, &wideFrom) || !WidePath(to, &wideTo)) {
    result.reason = "the file name is not UTF-8";
    RemoveQuietly(from);
    return result;
  }
  result.ok = MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!result.ok) {
    const DWORD error = GetLastError();
    result.reason = error == ERROR_ACCESS_DENIED
                        ? std::string(std::strerror(EACCES))
                        : "Windows error " + std::to_string(error);
    RemoveQuietly(from);
  }
  return result;
}

void RemoveQuietly(const std::string& path) {
  std::wstring wide;
  if (WidePath(path, &wide)) DeleteFileW(wide.c_str());
}
