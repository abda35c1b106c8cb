#include "winui/dialog.h"

namespace winui {

namespace {

// Messages whose answer the dialog procedure returns itself instead of
// storing it as the message result.
bool AnswersDirectly(UINT message) {
  switch (message) {
    case WM_INITDIALOG:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return true;
    default:
      return false;
  }
}

}  // namespace

Dialog::~Dialog() {
  if (hwnd_ == nullptr) return;
  // The derived part is gone already: the last messages of the dialog must
  // not reach it.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  if (!modal_) DestroyWindow(hwnd_);
}

INT_PTR Dialog::RunModal(HWND owner) {
  modal_ = true;
  return DialogBoxParamW(GetModuleHandleW(nullptr),
                         MAKEINTRESOURCEW(templateId_), owner, Procedure,
                         reinterpret_cast<LPARAM>(this));
}

HWND Dialog::CreateChild(HWND parent) {
  modal_ = false;
  return CreateDialogParamW(GetModuleHandleW(nullptr),
                            MAKEINTRESOURCEW(templateId_), parent, Procedure,
                            reinterpret_cast<LPARAM>(this));
}

void Dialog::End(INT_PTR result) {
  if (modal_) {
    EndDialog(hwnd_, result);
  } else {
    DestroyWindow(hwnd_);
  }
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam,
                                   LPARAM lParam) {
  auto* self =
      reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (self == nullptr) return FALSE;
  MessageResult result = self->ProcessMessage({message, wParam, lParam});
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  if (!result) return FALSE;
  if (AnswersDirectly(message)) return static_cast<INT_PTR>(*result);
  SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, *result);
  return TRUE;
}

}  // namespace winui
