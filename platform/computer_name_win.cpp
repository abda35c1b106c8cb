#include <windows.h>

#include "platform/computer_name.h"

std::string ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
  if (!GetComputerNameW(name, &length)) return {};
  const int size = WideCharToMultiByte(
      CP_UTF8, 0, name, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, name, static_cast<int>(length), &text[0],
                      size, nullptr, nullptr);
  return text;
}
