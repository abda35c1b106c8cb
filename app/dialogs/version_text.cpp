#include "app/dialogs/version_text.h"

#include <cwchar>

std::wstring FormatFileVersion(uint32_t versionMS, uint32_t versionLS) {
  wchar_t text[48];
  std::swprintf(text, 48, L"%d.%d.%d.%d", static_cast<int>(versionMS >> 16),
                static_cast<int>(versionMS & 0xFFFF),
                static_cast<int>(versionLS >> 16),
                static_cast<int>(versionLS & 0xFFFF));
  return text;
}

std::wstring AboutText(const std::wstring& version) {
  return L"Quellan Application ver " + version;
}
