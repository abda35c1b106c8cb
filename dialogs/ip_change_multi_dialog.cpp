#include "dialogs/ip_change_multi_dialog.h"

#include "dialogs/change_control_classes.h"
#include "res/resource.h"

using winui::Message;
using winui::MessageResult;

const winui::MessageMapEntry<CIPChangeMultiDlg>
    CIPChangeMultiDlg::kMessageMap[] = {
        winui::OnMessage(WM_INITDIALOG, &Self::OnInitDialog),
        winui::OnCommand(IDOK, &Self::OnChange),
        winui::OnCommand(IDCANCEL, &Self::OnClose),
};

CIPChangeMultiDlg::CIPChangeMultiDlg(std::int32_t count)
    : CBaseDialog(IDD_IP_CHANGE_MULTI, L"IP change"), serverCount(count) {
  RegisterChangeControlClasses();
}

MessageResult CIPChangeMultiDlg::ProcessMessage(const Message& m) {
  if (MessageResult result = winui::Dispatch(*this, kMessageMap, m)) {
    return result;
  }
  return CBaseDialog::ProcessMessage(m);
}

MessageResult CIPChangeMultiDlg::OnInitDialog(const Message&) {
  form.modeList = GetDlgItem(handle(), IDC_MULTI_IP_MODE);
  form.ipAddress = GetDlgItem(handle(), IDC_MULTI_START_IP);
  form.subnetMask = GetDlgItem(handle(), IDC_MULTI_SUBNET_MASK);
  form.gateway = GetDlgItem(handle(), IDC_MULTI_GATEWAY);
  form.basePort = GetDlgItem(handle(), IDC_MULTI_BASE_PORT);
  form.httpPort = GetDlgItem(handle(), IDC_MULTI_HTTP_PORT);
  countText = GetDlgItem(handle(), IDC_MULTI_SERVER_COUNT);
  ShowFields(form, MultiChangeDefaults());
  SetWindowTextW(countText, ServerCountText(serverCount).c_str());
  return CommonInit();
}

MessageResult CIPChangeMultiDlg::OnChange(const Message&) {
  if (AcceptInput(handle(), form, settings)) End(IDOK);
  return 0;
}

MessageResult CIPChangeMultiDlg::OnClose(const Message&) {
  End(IDCANCEL);
  return 0;
}
