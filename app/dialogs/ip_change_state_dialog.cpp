#include "app/dialogs/ip_change_state_dialog.h"

#include "app/dialogs/change_control_classes.h"
#include "app/dialogs/change_progress.h"
#include "res/resource.h"
#include "winui/common_controls.h"

using winui::Message;
using winui::MessageResult;

const winui::MessageMapEntry<CIPChangeStateDlg>
    CIPChangeStateDlg::MESSAGE_MAP[] = {
        winui::OnMessage(WM_INITDIALOG, &Self::OnInitDialog),
        winui::OnCommand(IDOK, &Self::OnEnd),
        winui::OnCommand(IDCANCEL, &Self::OnEnd),
        winui::OnMessage(WM_CHANGE_PROGRESS, &Self::OnProgress),
};

CIPChangeStateDlg::CIPChangeStateDlg(std::int32_t total)
    : CBaseDialog(IDD_IP_CHANGE_STATE, L"IP change state"), totalCount_(total) {
  RegisterChangeControlClasses();
}

MessageResult CIPChangeStateDlg::ProcessMessage(const Message& m) {
  if (MessageResult result = winui::Dispatch(*this, MESSAGE_MAP, m)) {
    return result;
  }
  return CBaseDialog::ProcessMessage(m);
}

void CIPChangeStateDlg::UpdateProgress() {
  SendMessageW(progressBar_, PBM_SETPOS, static_cast<WPARAM>(doneCount_), 0);
  SetWindowTextW(counterText_,
                 ProgressCounterText(doneCount_, totalCount_).c_str());
}

MessageResult CIPChangeStateDlg::OnInitDialog(const Message&) {
  counterText_ = GetDlgItem(handle(), IDC_CHANGE_COUNTER);
  progressBar_ = GetDlgItem(handle(), IDC_CHANGE_PROGRESS);
  SendMessageW(progressBar_, PBM_SETRANGE, 0,
               MAKELPARAM(0, ProgressRangeEnd(totalCount_)));
  UpdateProgress();
  EnableWindow(GetDlgItem(handle(), IDOK), FALSE);
  return CommonInit();
}

MessageResult CIPChangeStateDlg::OnEnd(const Message& m) {
  End(LOWORD(m.wParam));
  return 0;
}

MessageResult CIPChangeStateDlg::OnProgress(const Message& m) {
  doneCount_ = static_cast<std::int32_t>(m.wParam);
  UpdateProgress();
  if (IsChangeComplete(doneCount_, totalCount_)) {
    EnableWindow(GetDlgItem(handle(), IDOK), TRUE);
  }
  return 0;
}
