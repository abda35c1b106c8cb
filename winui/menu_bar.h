// A menu bar made of a flat toolbar: one text button per top-level item of a
// menu, each dropping that item's popup menu under it on a click, on Alt
// with the item's mnemonic, or, for the first item, on F10 or Alt alone. The
// left and right arrow keys and the pointer move between the popups while one
// is open. Commands chosen from a popup go to the owner window as WM_COMMAND.
#pragma once

#include <windows.h>

#include "winui/message_loop.h"

namespace winui {

class MenuBar : public MessageFilter {
 public:
  MenuBar() = default;
  MenuBar(const MenuBar&) = delete;
  MenuBar& operator=(const MenuBar&) = delete;
  ~MenuBar();

  HWND Create(HWND owner, DWORD style);
  // Takes `menu` over; it is destroyed with the bar object.
  void AttachMenu(HMENU menu);
  void DropMenu(int index);

  bool PreTranslateMessage(MSG& msg) override;

  HWND handle() const { return hwnd_; }
  HMENU menu() const { return menu_; }
  // Width and height of the buttons together, for the band that holds the
  // bar.
  SIZE IdealSize() const;

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
  static LRESULT CALLBACK TrackingHook(int code, WPARAM wParam, LPARAM lParam);
  bool OnTrackingMessage(const MSG& msg);
  int ButtonAtScreenPoint(POINT point) const;
  int ButtonForMnemonic(WPARAM key) const;
  int ButtonCount() const;

  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  HMENU menu_ = nullptr;
  int openIndex_ = -1;
  int nextIndex_ = -1;
  HHOOK hook_ = nullptr;
  bool altTapped_ = false;
};

}  // namespace winui
