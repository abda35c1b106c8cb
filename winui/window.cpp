#include "winui/window.h"

#include <cwchar>

namespace winui {

ATOM Window::Register(WindowClass& windowClass) {
  if (windowClass.atom != 0) return windowClass.atom;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  wchar_t name[40];
  std::swprintf(name, 40, L"winui:%p", static_cast<void*>(&windowClass));
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name;
  if (windowClass.iconId != 0) {
    const wchar_t* icon = MAKEINTRESOURCEW(windowClass.iconId);
    wc.hIcon = static_cast<HICON>(
        LoadImageW(instance, icon, IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                   GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    wc.hIconSm = static_cast<HICON>(
        LoadImageW(instance, icon, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  }
  windowClass.atom = RegisterClassExW(&wc);
  return windowClass.atom;
}

Window::~Window() {
  if (hwnd_ == nullptr) return;
  // The derived part is gone already: the last messages of the window must
  // not reach it.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
}

HWND Window::Create(WindowClass& windowClass, HWND parent, const wchar_t* text,
                    DWORD style, DWORD exStyle, HMENU menu) {
  ATOM atom = Register(windowClass);
  if (atom == 0) return nullptr;
  return CreateWindowExW(exStyle, MAKEINTATOM(atom), text, style, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent,
                         menu, GetModuleHandleW(nullptr), this);
}

LRESULT Window::DefaultProcess(const Message& m) const {
  return DefWindowProcW(hwnd_, m.message, m.wParam, m.lParam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam,
                                   LPARAM lParam) {
  auto* self =
      reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(
        reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  const Message m{message, wParam, lParam};
  MessageResult result = self->ProcessMessage(m);
  LRESULT answer = result ? *result : self->DefaultProcess(m);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return answer;
}

}  // namespace winui
