#include <windows.h>

#include <cerrno>

#include "platform/file_open.h"
#include "platform/wide_path_win.h"

bool WidePath(const std::string& path, std::wstring* wide) {
  // The ANSI functions would turn every character outside the code page into
  // '?', so the name is converted to the wide path Windows keeps.
  const int length = static_cast<int>(path.size());
  const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS,
                                        path.data(), length, nullptr, 0);
  if (units == 0 && length > 0) {
    errno = EILSEQ;
    return false;
  }
  wide->assign(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), length,
                      &(*wide)[0], units);
  return true;
}

std::FILE* OpenForReading(const std::string& path) {
  std::wstring wide;
  if (!WidePath(path, &wide)) return nullptr;
  std::FILE* file = _wfopen(wide.c_str(), L"rb");
  // Windows refuses a folder as it refuses a file it may not read: the
  // reason would say "Permission denied" to one who named a folder.
  if (!file) {
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY))
      errno = EISDIR;
  }
  return file;
}
