#include "tools/probe/invocation.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cwchar>

#include "tools/probe/wait_until.h"

namespace probe {

std::optional<QuellanWindows> AwaitQuellan(const Invocation& invocation) {
  std::optional<QuellanWindows> found;
  WaitUntil(invocation.timeoutMs, [&] {
    found = FindQuellan(invocation.processId);
    return found.has_value();
  });
  if (!found) Complain("no Quellan main window");
  return found;
}

bool ParseNumber(const std::wstring& text, long& value) {
  const bool hex = text.size() > 2 && text[0] == L'0' &&
                   (text[1] == L'x' || text[1] == L'X');
  const wchar_t* digits = text.c_str() + (hex ? 2 : 0);
  if (*digits == L'\0') return false;
  wchar_t* end = nullptr;
  errno = 0;
  value = std::wcstol(digits, &end, hex ? 16 : 10);
  return errno == 0 && *end == L'\0';
}

bool ParseOnOff(const std::wstring& text, bool& on) {
  on = text == L"on";
  return on || text == L"off";
}

std::string HandleJson(HWND window) {
  return std::to_string(reinterpret_cast<std::uintptr_t>(window));
}

void Complain(const std::string& what) {
  std::fprintf(stderr, "quellan-probe: %s\n", what.c_str());
}

int ClickMiddle(HWND window, const std::optional<RECT>& rect, JsonLine line,
                const std::string& what, bool (*click)(HWND window, POINT at)) {
  if (!rect || !AcceptsClicks(window)) {
    Complain(what + " can not be clicked");
    return NOT_THERE;
  }
  const POINT at = CentreOf(*rect);
  click(window, at);
  line.Number("x", at.x).Number("y", at.y).Print();
  return SUCCESS;
}

}  // namespace probe
