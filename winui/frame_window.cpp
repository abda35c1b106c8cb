#include "winui/frame_window.h"

#include "winui/common_controls.h"

namespace winui {

HWND FrameWindow::CreateFrame(WindowClass& windowClass, const wchar_t* text,
                              DWORD style, DWORD exStyle, HMENU menu,
                              int acceleratorId) {
  HWND hwnd = Create(windowClass, nullptr, text, style, exStyle, menu);
  if (hwnd != nullptr) {
    accelerators_ = LoadAcceleratorsW(GetModuleHandleW(nullptr),
                                      MAKEINTRESOURCEW(acceleratorId));
  }
  return hwnd;
}

void FrameWindow::UpdateLayout() {
  RECT area{};
  GetClientRect(handle(), &area);
  if (bar_ != nullptr && IsWindowVisible(bar_)) {
    // The bar sizes itself to the frame's width when told the frame changed.
    SendMessageW(bar_, WM_SIZE, 0, 0);
    RECT barRect{};
    GetWindowRect(bar_, &barRect);
    area.top += barRect.bottom - barRect.top;
  }
  if (client_ != nullptr) {
    SetWindowPos(client_, nullptr, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

MessageResult FrameWindow::FrameDefault(const Message& m) {
  switch (m.message) {
    case WM_SIZE:
      if (m.wParam != SIZE_MINIMIZED) UpdateLayout();
      return std::nullopt;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFOCUS:
      if (client_ != nullptr && IsWindow(client_)) SetFocus(client_);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(1);
      return 0;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(m.lParam)->hwndFrom == bar_ &&
          reinterpret_cast<const NMHDR*>(m.lParam)->code == RBN_AUTOSIZE) {
        UpdateLayout();
        return 0;
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace winui
