#include "tools/probe/ui_messages.h"

#include <cwchar>

namespace probe {

namespace {

constexpr UINT ANSWER_TIMEOUT_MS = 5000;

}  // namespace

bool SendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
            LRESULT* result) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG,
                           ANSWER_TIMEOUT_MS, &answer)) {
    return false;
  }
  if (result != nullptr) *result = static_cast<LRESULT>(answer);
  return true;
}

std::wstring TextOf(HWND window) {
  LRESULT length = 0;
  if (!SendTo(window, WM_GETTEXTLENGTH, 0, 0, &length) || length <= 0) {
    return {};
  }
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  LRESULT copied = 0;
  if (!SendTo(window, WM_GETTEXT, text.size(),
              reinterpret_cast<LPARAM>(&text[0]), &copied)) {
    return {};
  }
  text.resize(static_cast<std::size_t>(copied < length ? copied : length));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = L"";
  const int length = GetClassNameW(window, name, 256);
  return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

bool HasClass(HWND window, const wchar_t* className) {
  return _wcsicmp(ClassOf(window).c_str(), className) == 0;
}

int ControlId(HWND window) {
  return static_cast<int>(GetWindowLongPtrW(window, GWLP_ID));
}

}  // namespace probe
