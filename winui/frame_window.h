// A top-level frame: a bar window at the top of the client area (a rebar)
// and a client window below it that fills the rest. Derived classes put
// FrameDefault into their message map where the frame's own handling of
// layout, focus, background and shutdown belongs.
#pragma once

#include <windows.h>

#include "winui/window.h"

namespace winui {

class FrameWindow : public Window {
 public:
  // Creates the frame and, on success, loads accelerator table
  // `acceleratorId` for it.
  HWND CreateFrame(WindowClass& windowClass, const wchar_t* text, DWORD style,
                   DWORD exStyle, HMENU menu, int acceleratorId);

  HWND bar() const { return bar_; }
  HWND client() const { return client_; }
  HACCEL accelerators() const { return accelerators_; }

 protected:
  void SetBar(HWND bar) { bar_ = bar; }
  void SetClient(HWND client) { client_ = client; }
  void UpdateLayout();

  // WM_SIZE lays out bar and client and passes on; WM_ERASEBKGND erases
  // nothing (the client covers the area); WM_SETFOCUS gives the focus to
  // the client; WM_DESTROY ends the message loop with exit code 1; the
  // bar's auto-size notification lays out again.
  MessageResult FrameDefault(const Message& m);

 private:
  HWND bar_ = nullptr;
  HWND client_ = nullptr;
  HACCEL accelerators_ = nullptr;
};

}  // namespace winui
