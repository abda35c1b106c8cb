#include "tests/gui/gui_helpers.h"

#include "app/messages/window_messages.h"
#include "winui/common_controls.h"

namespace {

SentMessageLog* activeLog = nullptr;

}  // namespace

SentMessageLog::SentMessageLog(
    std::function<void(const SentMessage&)> onMessage)
    : onMessage_(std::move(onMessage)) {
  activeLog = this;
  hook_ =
      SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
}

SentMessageLog::~SentMessageLog() {
  UnhookWindowsHookEx(hook_);
  activeLog = nullptr;
}

LRESULT CALLBACK SentMessageLog::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && activeLog != nullptr) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    const SentMessage message{sent->hwnd, sent->message, sent->wParam,
                              sent->lParam};
    activeLog->messages_.push_back(message);
    if (activeLog->onMessage_) activeLog->onMessage_(message);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

int SentMessageLog::Count(HWND hwnd, UINT message) const {
  return static_cast<int>(Of(hwnd, message).size());
}

std::vector<SentMessage> SentMessageLog::Of(HWND hwnd, UINT message) const {
  std::vector<SentMessage> found;
  for (const SentMessage& m : messages_) {
    if (m.hwnd == hwnd && m.message == message) found.push_back(m);
  }
  return found;
}

ViewCommandTrap::ViewCommandTrap(HWND view) : view_(view) {
  SetWindowSubclass(view_, Procedure, 1, reinterpret_cast<DWORD_PTR>(this));
}

ViewCommandTrap::~ViewCommandTrap() {
  if (IsWindow(view_)) RemoveWindowSubclass(view_, Procedure, 1);
}

LRESULT CALLBACK ViewCommandTrap::Procedure(HWND hwnd, UINT message,
                                            WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR self) {
  if (message == WM_VIEW_COMMAND) {
    reinterpret_cast<ViewCommandTrap*>(self)->commands_.push_back(wParam);
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, Procedure, 1);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

OwnerWindow::OwnerWindow(RECT where, std::function<void(HWND)> onIdle)
    : onIdle_(std::move(onIdle)) {
  static ATOM atom = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"ShellTestOwner";
    return RegisterClassW(&wc);
  }();
  hwnd_ = CreateWindowExW(
      0, MAKEINTATOM(atom), L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
      where.left, where.top, where.right - where.left, where.bottom - where.top,
      nullptr, nullptr, GetModuleHandleW(nullptr), this);
}

OwnerWindow::~OwnerWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

LRESULT CALLBACK OwnerWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(
        hwnd, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(
            reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* self =
      reinterpret_cast<OwnerWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && self != nullptr &&
      !self->probed_) {
    self->probed_ = true;
    self->onIdle_(reinterpret_cast<HWND>(lParam));
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LPARAM ScreenPointParam(HWND window, int x, int y) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return MAKELPARAM(rect.left + x, rect.top + y);
}

COLORREF WindowPixel(HWND window, int x, int y) {
  HDC dc = GetWindowDC(window);
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

COLORREF ClientPixel(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

COLORREF Grey(int level) { return RGB(level, level, level); }

void RunPendingMessages() {
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, 0, WM_QUIT - 1, PM_REMOVE) ||
         PeekMessageW(&msg, nullptr, WM_QUIT + 1, 0xFFFFFFFF, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void DropQuit() {
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}
