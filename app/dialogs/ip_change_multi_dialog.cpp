#include "app/dialogs/ip_change_multi_dialog.h"

#include "app/dialogs/change_control_classes.h"
#include "res/resource.h"

using winui::Message;
using winui::MessageResult;

const winui::MessageMapEntry<CIPChangeMultiDlg>
    CIPChangeMultiDlg::MESSAGE_MAP[] = {
        winui::OnMessage(WM_INITDIALOG, &Self::OnInitDialog),
        winui::OnCommand(IDOK, &Self::OnChange),
        winui::OnCommand(IDCANCEL, &Self::OnClose),
};

CIPChangeMultiDlg::CIPChangeMultiDlg(std::int32_t count)
    : CBaseDialog(IDD_IP_CHANGE_MULTI, L"IP change"), serverCount_(count) {
  RegisterChangeControlClasses();
}

MessageResult CIPChangeMultiDlg::ProcessMessage(const Message& m) {
  if (MessageResult result = winui::Dispatch(*this, MESSAGE_MAP, m)) {
    return result;
  }
  return CBaseDialog::ProcessMessage(m);
}

MessageResult CIPChangeMultiDlg::OnInitDialog(const Message&) {
  form_.modeList = GetDlgItem(handle(), IDC_MULTI_IP_MODE);
  form_.ipAddress = GetDlgItem(handle(), IDC_MULTI_START_IP);
  form_.subnetMask = GetDlgItem(handle(), IDC_MULTI_SUBNET_MASK);
  form_.gateway = GetDlgItem(handle(), IDC_MULTI_GATEWAY);
  form_.basePort = GetDlgItem(handle(), IDC_MULTI_BASE_PORT);
  form_.httpPort = GetDlgItem(handle(), IDC_MULTI_HTTP_PORT);
  countText_ = GetDlgItem(handle(), IDC_MULTI_SERVER_COUNT);
  ShowFields(form_, MultiChangeDefaults());
  SetWindowTextW(countText_, ServerCountText(serverCount_).c_str());
  return CommonInit();
}

MessageResult CIPChangeMultiDlg::OnChange(const Message&) {
  if (AcceptInput(handle(), form_, settings_)) End(IDOK);
  return 0;
}

MessageResult CIPChangeMultiDlg::OnClose(const Message&) {
  End(IDCANCEL);
  return 0;
}
