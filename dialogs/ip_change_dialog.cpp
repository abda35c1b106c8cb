#include "dialogs/ip_change_dialog.h"

#include "dialogs/change_control_classes.h"
#include "res/resource.h"

using winui::Message;
using winui::MessageResult;

const winui::MessageMapEntry<CIPChangeDlg> CIPChangeDlg::kMessageMap[] = {
    winui::OnMessage(WM_INITDIALOG, &Self::OnInitDialog),
    winui::OnCommand(IDOK, &Self::OnChange),
    winui::OnCommand(IDCANCEL, &Self::OnClose),
};

CIPChangeDlg::CIPChangeDlg(const DeviceInfo& device)
    : CBaseDialog(IDD_IP_CHANGE, L"IP change"),
      settings(SettingsFromDeviceInfo(device)) {
  RegisterChangeControlClasses();
}

MessageResult CIPChangeDlg::ProcessMessage(const Message& m) {
  if (MessageResult result = winui::Dispatch(*this, kMessageMap, m)) {
    return result;
  }
  return CBaseDialog::ProcessMessage(m);
}

MessageResult CIPChangeDlg::OnInitDialog(const Message&) {
  form.modeList = GetDlgItem(handle(), IDC_IP_MODE);
  form.ipAddress = GetDlgItem(handle(), IDC_IP_ADDRESS);
  form.subnetMask = GetDlgItem(handle(), IDC_SUBNET_MASK);
  form.gateway = GetDlgItem(handle(), IDC_GATEWAY);
  form.basePort = GetDlgItem(handle(), IDC_BASE_PORT);
  form.httpPort = GetDlgItem(handle(), IDC_HTTP_PORT);
  ShowFields(form, FieldsFromSettings(settings));
  return CommonInit();
}

MessageResult CIPChangeDlg::OnChange(const Message&) {
  if (AcceptInput(handle(), form, settings)) End(IDOK);
  return 0;
}

MessageResult CIPChangeDlg::OnClose(const Message&) {
  End(IDCANCEL);
  return 0;
}
