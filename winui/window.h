// A window object bound once to its handle: the creation parameter carries
// the object to WM_NCCREATE, which stores it in GWLP_USERDATA; from then on
// every message goes to the object's message map, and whatever the map
// passes on goes to DefWindowProcW.
#pragma once

#include <windows.h>

#include "winui/message_map.h"

namespace winui {

// Registered on first use under a name made from the object's address.
// Class style 0, background COLOR_WINDOW + 1, the arrow cursor and, when
// `iconId` is non-zero, that icon resource at the large and small sizes.
struct WindowClass {
  int iconId;
  ATOM atom;
};

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Create(WindowClass& windowClass, HWND parent, const wchar_t* text,
              DWORD style, DWORD exStyle, HMENU menu);
  HWND handle() const { return hwnd_; }

 protected:
  virtual MessageResult ProcessMessage(const Message& m) = 0;
  LRESULT DefaultProcess(const Message& m) const;

 private:
  static ATOM Register(WindowClass& windowClass);
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam,
                                    LPARAM lParam);

  HWND hwnd_ = nullptr;
};

}  // namespace winui
