#include "dialogs/ip_change_state_dialog.h"

#include "dialogs/change_control_classes.h"
#include "dialogs/change_progress.h"
#include "res/resource.h"
#include "winui/common_controls.h"

using winui::Message;
using winui::MessageResult;

const winui::MessageMapEntry<CIPChangeStateDlg>
    CIPChangeStateDlg::kMessageMap[] = {
        winui::OnMessage(WM_INITDIALOG, &Self::OnInitDialog),
        winui::OnCommand(IDOK, &Self::OnEnd),
        winui::OnCommand(IDCANCEL, &Self::OnEnd),
        winui::OnMessage(WM_CHANGE_PROGRESS, &Self::OnProgress),
};

CIPChangeStateDlg::CIPChangeStateDlg(std::int32_t total)
    : CBaseDialog(IDD_IP_CHANGE_STATE, L"IP change state"), totalCount(total) {
  RegisterChangeControlClasses();
}

MessageResult CIPChangeStateDlg::ProcessMessage(const Message& m) {
  if (MessageResult result = winui::Dispatch(*this, kMessageMap, m)) {
    return result;
  }
  return CBaseDialog::ProcessMessage(m);
}

void CIPChangeStateDlg::UpdateProgress() {
  SendMessageW(progressBar, PBM_SETPOS, static_cast<WPARAM>(doneCount), 0);
  SetWindowTextW(counterText,
                 ProgressCounterText(doneCount, totalCount).c_str());
}

MessageResult CIPChangeStateDlg::OnInitDialog(const Message&) {
  counterText = GetDlgItem(handle(), IDC_CHANGE_COUNTER);
  progressBar = GetDlgItem(handle(), IDC_CHANGE_PROGRESS);
  SendMessageW(progressBar, PBM_SETRANGE, 0,
               MAKELPARAM(0, ProgressRangeEnd(totalCount)));
  UpdateProgress();
  EnableWindow(GetDlgItem(handle(), IDOK), FALSE);
  return CommonInit();
}

MessageResult CIPChangeStateDlg::OnEnd(const Message& m) {
  End(LOWORD(m.wParam));
  return 0;
}

MessageResult CIPChangeStateDlg::OnProgress(const Message& m) {
  doneCount = static_cast<std::int32_t>(m.wParam);
  UpdateProgress();
  if (IsChangeComplete(doneCount, totalCount)) {
    EnableWindow(GetDlgItem(handle(), IDOK), TRUE);
  }
  return 0;
}
