#include "winui/menu_bar.h"

#include <windowsx.h>

#include <cwctype>
#include <string>

#include "winui/common_controls.h"

namespace winui {

namespace {

constexpr UINT_PTR SUBCLASS_ID = 1;

// The hook procedure has no context of its own; one popup menu at a time can
// be open on a thread.
thread_local MenuBar* trackingBar = nullptr;

wchar_t MnemonicOf(const std::wstring& text) {
  std::size_t amp = text.find(L'&');
  if (amp != std::wstring::npos && amp + 1 < text.size()) return text[amp + 1];
  return text.empty() ? L'\0' : text[0];
}

}  // namespace

MenuBar::~MenuBar() {
  if (hwnd_ != nullptr) RemoveWindowSubclass(hwnd_, SubclassProc, SUBCLASS_ID);
  if (menu_ != nullptr) DestroyMenu(menu_);
}

HWND MenuBar::Create(HWND owner, DWORD style) {
  owner_ = owner;
  hwnd_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                          style | TBSTYLE_FLAT | TBSTYLE_LIST, 0, 0, 100, 100,
                          owner, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (hwnd_ == nullptr) return nullptr;
  SendMessageW(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(hwnd_, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  SetWindowSubclass(hwnd_, SubclassProc, SUBCLASS_ID,
                    reinterpret_cast<DWORD_PTR>(this));
  return hwnd_;
}

void MenuBar::AttachMenu(HMENU menu) {
  if (menu_ != nullptr) DestroyMenu(menu_);
  menu_ = menu;
  while (ButtonCount() > 0) SendMessageW(hwnd_, TB_DELETEBUTTON, 0, 0);
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[64] = L"";
    GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    TBBUTTON button{};
    button.iBitmap = I_IMAGENONE;
    button.idCommand = i;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
    button.iString = reinterpret_cast<INT_PTR>(text);
    SendMessageW(hwnd_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
  }
  SendMessageW(hwnd_, TB_AUTOSIZE, 0, 0);
}

int MenuBar::ButtonCount() const {
  return static_cast<int>(SendMessageW(hwnd_, TB_BUTTONCOUNT, 0, 0));
}

SIZE MenuBar::IdealSize() const {
  SIZE size{};
  const int count = ButtonCount();
  if (count == 0) return size;
  RECT last{};
  SendMessageW(hwnd_, TB_GETITEMRECT, static_cast<WPARAM>(count - 1),
               reinterpret_cast<LPARAM>(&last));
  size.cx = last.right;
  size.cy = last.bottom - last.top;
  return size;
}

void MenuBar::DropMenu(int index) {
  nextIndex_ = index;
  while (nextIndex_ >= 0 && nextIndex_ < ButtonCount()) {
    openIndex_ = nextIndex_;
    nextIndex_ = -1;
    RECT button{};
    SendMessageW(hwnd_, TB_GETITEMRECT, static_cast<WPARAM>(openIndex_),
                 reinterpret_cast<LPARAM>(&button));
    MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&button), 2);
    TPMPARAMS exclude{};
    exclude.cbSize = sizeof(exclude);
    exclude.rcExclude = button;

    SendMessageW(hwnd_, TB_PRESSBUTTON, static_cast<WPARAM>(openIndex_), TRUE);
    trackingBar = this;
    hook_ = SetWindowsHookExW(WH_MSGFILTER, TrackingHook, nullptr,
                              GetCurrentThreadId());
    TrackPopupMenuEx(
        GetSubMenu(menu_, openIndex_),
        TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_LEFTBUTTON,
        button.left, button.bottom, owner_, &exclude);
    UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    trackingBar = nullptr;
    SendMessageW(hwnd_, TB_PRESSBUTTON, static_cast<WPARAM>(openIndex_), FALSE);
  }
  openIndex_ = -1;
}

int MenuBar::ButtonAtScreenPoint(POINT point) const {
  if (WindowFromPoint(point) != hwnd_) return -1;
  ScreenToClient(hwnd_, &point);
  return static_cast<int>(
      SendMessageW(hwnd_, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
}

int MenuBar::ButtonForMnemonic(WPARAM key) const {
  const int count = ButtonCount();
  for (int i = 0; i < count; ++i) {
    wchar_t text[64] = L"";
    GetMenuStringW(menu_, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    wchar_t mnemonic = MnemonicOf(text);
    if (mnemonic != L'\0' &&
        static_cast<WPARAM>(std::towupper(mnemonic)) == key) {
      return i;
    }
  }
  return -1;
}

bool MenuBar::PreTranslateMessage(MSG& msg) {
  if (hwnd_ == nullptr || ButtonCount() == 0) return false;
  if (msg.message != WM_SYSKEYDOWN && msg.message != WM_SYSKEYUP &&
      msg.message != WM_KEYDOWN) {
    return false;
  }
  if (GetAncestor(msg.hwnd, GA_ROOT) != owner_) return false;
  // Alt pressed and released alone opens the first menu; any key between
  // makes it a chord instead.
  if (msg.message == WM_SYSKEYUP) {
    const bool tapped = msg.wParam == VK_MENU && altTapped_;
    altTapped_ = false;
    if (!tapped) return false;
    DropMenu(0);
    return true;
  }
  const bool altAlone = msg.message == WM_SYSKEYDOWN && msg.wParam == VK_MENU;
  const bool repeated = (msg.lParam & (1 << 30)) != 0;
  altTapped_ = altAlone && (!repeated || altTapped_);
  if (msg.message != WM_SYSKEYDOWN || altAlone) return false;
  const int index = msg.wParam == VK_F10 ? 0 : ButtonForMnemonic(msg.wParam);
  if (index < 0) return false;
  DropMenu(index);
  return true;
}

bool MenuBar::OnTrackingMessage(const MSG& msg) {
  const int count = ButtonCount();
  int next = -1;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_LEFT) {
    next = (openIndex_ + count - 1) % count;
  } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_RIGHT) {
    next = (openIndex_ + 1) % count;
  } else if (msg.message == WM_MOUSEMOVE) {
    next = ButtonAtScreenPoint(msg.pt);
  }
  if (next < 0 || next == openIndex_) return false;
  nextIndex_ = next;
  EndMenu();
  return true;
}

LRESULT CALLBACK MenuBar::TrackingHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_MENU && trackingBar != nullptr &&
      trackingBar->OnTrackingMessage(*reinterpret_cast<MSG*>(lParam))) {
    return TRUE;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MenuBar::SubclassProc(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam, UINT_PTR,
                                       DWORD_PTR self) {
  auto* bar = reinterpret_cast<MenuBar*>(self);
  if (message == WM_LBUTTONDOWN) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    int index = static_cast<int>(
        SendMessageW(hwnd, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
    if (index >= 0 && index < bar->ButtonCount()) {
      bar->DropMenu(index);
      return 0;
    }
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, SubclassProc, SUBCLASS_ID);
    bar->hwnd_ = nullptr;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace winui
