#include "app/dialogs/ip_change_dialog.h"

#include "app/dialogs/change_control_classes.h"
#include "res/resource.h"

using winui::Message;
using winui::MessageResult;

const winui::MessageMapEntry<CIPChangeDlg> CIPChangeDlg::MESSAGE_MAP[] = {
    winui::OnMessage(WM_INITDIALOG, &Self::OnInitDialog),
    winui::OnCommand(IDOK, &Self::OnChange),
    winui::OnCommand(IDCANCEL, &Self::OnClose),
};

CIPChangeDlg::CIPChangeDlg(const DeviceInfo& device)
    : CBaseDialog(IDD_IP_CHANGE, L"IP change"),
      settings_(SettingsFromDeviceInfo(device)) {
  RegisterChangeControlClasses();
}

MessageResult CIPChangeDlg::ProcessMessage(const Message& m) {
  if (MessageResult result = winui::Dispatch(*this, MESSAGE_MAP, m)) {
    return result;
  }
  return CBaseDialog::ProcessMessage(m);
}

MessageResult CIPChangeDlg::OnInitDialog(const Message&) {
  form_.modeList = GetDlgItem(handle(), IDC_IP_MODE);
  form_.ipAddress = GetDlgItem(handle(), IDC_IP_ADDRESS);
  form_.subnetMask = GetDlgItem(handle(), IDC_SUBNET_MASK);
  form_.gateway = GetDlgItem(handle(), IDC_GATEWAY);
  form_.basePort = GetDlgItem(handle(), IDC_BASE_PORT);
  form_.httpPort = GetDlgItem(handle(), IDC_HTTP_PORT);
  ShowFields(form_, FieldsFromSettings(settings_));
  return CommonInit();
}

MessageResult CIPChangeDlg::OnChange(const Message&) {
  if (AcceptInput(handle(), form_, settings_)) End(IDOK);
  return 0;
}

MessageResult CIPChangeDlg::OnClose(const Message&) {
  End(IDCANCEL);
  return 0;
}
