// A dialog object bound once to its handle: the object travels as the
// creation parameter to WM_INITDIALOG, which stores it in GWLP_USERDATA.
// Messages go to the object's message map; what the map passes on gets the
// default dialog processing.
#pragma once

#include <windows.h>

#include "winui/message_map.h"

namespace winui {

class Dialog {
 public:
  explicit Dialog(int templateId) : templateId_(templateId) {}
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog();

  // Runs the dialog modally from its template; the answer is the value
  // given to End, or -1 when the dialog could not be created.
  INT_PTR RunModal(HWND owner);
  // Creates the dialog as a modeless child of `parent`.
  HWND CreateChild(HWND parent);
  void End(INT_PTR result);

  HWND handle() const { return hwnd_; }
  int templateId() const { return templateId_; }

 protected:
  virtual MessageResult ProcessMessage(const Message& m) = 0;

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam,
                                    LPARAM lParam);

  int templateId_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
};

}  // namespace winui
