#include "tests/probe/target_dialog.h"

#include <commctrl.h>

#include "tests/probe/target_ids.h"

namespace {

struct DialogState {
  const std::function<void(const std::wstring&)>* report;
  std::wstring summary;
};

void Fill(HWND dialog) {
  const HWND combo = GetDlgItem(dialog, target::MODE_COMBO_ID);
  const wchar_t* modes[] = {L"Fixed IP", L"DHCP", L"PPPoE (ADSL)"};
  for (int i = 0; i < 3; ++i) {
    SendMessageW(combo, CB_INSERTSTRING, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(modes[i]));
  }
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  SendDlgItemMessageW(dialog, target::ADDRESS_ID, IPM_SETADDRESS, 0,
                      MAKEIPADDRESS(192, 168, 0, 10));
  SetDlgItemTextW(dialog, target::PORT_ID, L"2222");
}

std::wstring Summary(HWND dialog) {
  DWORD address = 0;
  SendDlgItemMessageW(dialog, target::ADDRESS_ID, IPM_GETADDRESS, 0,
                      reinterpret_cast<LPARAM>(&address));
  wchar_t port[32] = L"";
  GetDlgItemTextW(dialog, target::PORT_ID, port, 32);
  const LRESULT mode =
      SendDlgItemMessageW(dialog, target::MODE_COMBO_ID, CB_GETCURSEL, 0, 0);
  return std::to_wstring(FIRST_IPADDRESS(address)) + L"." +
         std::to_wstring(SECOND_IPADDRESS(address)) + L"." +
         std::to_wstring(THIRD_IPADDRESS(address)) + L"." +
         std::to_wstring(FOURTH_IPADDRESS(address)) + L" " + port + L" " +
         std::to_wstring(mode);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam,
                                 LPARAM lParam) {
  auto* state =
      reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      Fill(dialog);
      SetFocus(GetDlgItem(dialog, target::PORT_ID));
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        state->summary = Summary(dialog);
        EndDialog(dialog, 1);
      } else if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 2);
      } else if (LOWORD(wParam) == target::MODE_COMBO_ID &&
                 HIWORD(wParam) == CBN_SELCHANGE) {
        const LRESULT mode =
            SendMessageW(reinterpret_cast<HWND>(lParam), CB_GETCURSEL, 0, 0);
        (*state->report)(L"selchange " + std::to_wstring(mode));
      }
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR RunTargetDialog(HWND owner,
                        const std::function<void(const std::wstring&)>& report,
                        std::wstring& summary) {
  DialogState state{&report, {}};
  const INT_PTR result = DialogBoxParamW(
      GetModuleHandleW(nullptr), MAKEINTRESOURCEW(target::DIALOG_ID), owner,
      DialogProcedure, reinterpret_cast<LPARAM>(&state));
  summary = state.summary;
  return result;
}
