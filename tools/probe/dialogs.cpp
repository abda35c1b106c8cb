#include "tools/probe/dialogs.h"

#include <commctrl.h>

#include "tools/probe/remote_memory.h"
#include "tools/probe/ui_messages.h"
#include "tools/probe/window_find.h"

namespace probe {

namespace {

constexpr wchar_t DIALOG_CLASS[] = L"#32770";
// The system gives a message box's text the id 0xFFFF, which reads as -1
// where ids are 32 bits wide.
constexpr int MESSAGE_BOX_TEXT_ID = 0xFFFF;

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }

}  // namespace

bool IsPushButton(HWND control) {
  const LONG_PTR kind = StyleOf(control) & BS_TYPEMASK;
  return HasClass(control, WC_BUTTONW) &&
         (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON);
}

bool IsPicture(HWND control) {
  const LONG_PTR kind = StyleOf(control) & SS_TYPEMASK;
  return HasClass(control, WC_STATICW) &&
         (kind == SS_ICON || kind == SS_BITMAP);
}

std::vector<HWND> OpenDialogs(DWORD processId) {
  std::vector<HWND> found;
  for (HWND window : TopLevelWindows()) {
    if (ProcessOf(window) == processId && IsWindowVisible(window) &&
        IsWindowEnabled(window) && HasClass(window, DIALOG_CLASS))
      found.push_back(window);
  }
  return found;
}

std::vector<HWND> ChildControls(HWND dialog) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

bool IsMessageBox(HWND dialog) {
  bool hasButton = false;
  for (HWND child : ChildControls(dialog)) {
    if (HasClass(child, WC_STATICW)) continue;
    if (!IsPushButton(child)) return false;
    const int id = ControlId(child);
    if (id < IDOK || id > IDCONTINUE) return false;
    hasButton = true;
  }
  return hasButton;
}

std::wstring MessageBoxText(HWND dialog) {
  std::wstring fallback;
  for (HWND child : ChildControls(dialog)) {
    if (!HasClass(child, WC_STATICW) || IsPicture(child)) continue;
    const int id = ControlId(child);
    if (id == MESSAGE_BOX_TEXT_ID || id == -1) return TextOf(child);
    if (fallback.empty()) fallback = TextOf(child);
  }
  return fallback;
}

HWND FocusOf(HWND dialog) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) {
    return nullptr;
  }
  return info.hwndFocus;
}

std::optional<IpAddress> ReadIpAddress(HWND control, HANDLE process) {
  DWORD value = 0;
  RemoteBuffer remote(process, sizeof value);
  LRESULT filled = 0;
  if (!remote.Put(value) ||
      !SendTo(control, IPM_GETADDRESS, 0, remote.Address(), &filled) ||
      !remote.Get(value)) {
    return std::nullopt;
  }
  return IpAddress{value, static_cast<int>(filled)};
}

std::vector<std::wstring> ComboItems(HWND combo) {
  std::vector<std::wstring> items;
  LRESULT count = 0;
  if (!SendTo(combo, CB_GETCOUNT, 0, 0, &count)) return items;
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = 0;
    if (!SendTo(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0, &length) ||
        length < 0) {
      length = 0;
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    if (!SendTo(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                reinterpret_cast<LPARAM>(&text[0]), &copied) ||
        copied < 0) {
      copied = 0;
    }
    text.resize(static_cast<std::size_t>(copied < length ? copied : length));
    items.push_back(text);
  }
  return items;
}

}  // namespace probe
