#include "app/dialogs/change_progress.h"

#include <cwchar>

std::wstring ProgressCounterText(std::int32_t done, std::int32_t total) {
  wchar_t text[32] = L"";
  std::swprintf(text, sizeof(text) / sizeof(text[0]), L"%03d / %03d",
                static_cast<int>(done), static_cast<int>(total));
  return text;
}

bool IsChangeComplete(std::int32_t done, std::int32_t total) {
  return done == total;
}

std::uint16_t ProgressRangeEnd(std::int32_t total) {
  return static_cast<std::uint16_t>(total);
}
