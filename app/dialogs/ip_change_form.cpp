#include "app/dialogs/ip_change_form.h"

#include "app/dialogs/ip_mode_list.h"
#include "core/engine/notify.h"
#include "core/validation/ip_validation.h"
#include "winui/common_controls.h"

namespace {

// GetWindowTextW's buffer: a longer text arrives cut, as the check expects.
constexpr int PORT_TEXT_CAPACITY = 260;

std::wstring PortText(HWND field) {
  wchar_t text[PORT_TEXT_CAPACITY] = L"";
  GetWindowTextW(field, text, PORT_TEXT_CAPACITY);
  return text;
}

std::uint32_t Address(HWND control) {
  DWORD address = 0;
  SendMessageW(control, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
  return address;
}

IpInput ReadInput(const IpChangeForm& form) {
  IpInput input;
  input.modeIndex = static_cast<std::int32_t>(
      SendMessageW(form.modeList, CB_GETCURSEL, 0, 0));
  input.ipAddress = Address(form.ipAddress);
  input.subnetMask = Address(form.subnetMask);
  input.gateway = Address(form.gateway);
  input.basePortText = PortText(form.basePort);
  input.httpPortText = PortText(form.httpPort);
  return input;
}

}  // namespace

void ShowFields(const IpChangeForm& form, const IpChangeFields& fields) {
  for (std::size_t i = 0; i < IP_MODE_ENTRIES.size(); ++i) {
    SendMessageW(form.modeList, CB_INSERTSTRING, i,
                 reinterpret_cast<LPARAM>(IP_MODE_ENTRIES[i]));
  }
  SendMessageW(form.modeList, CB_SETCURSEL,
               static_cast<WPARAM>(fields.modeIndex), 0);
  SendMessageW(form.ipAddress, IPM_SETADDRESS, 0, fields.ipAddress);
  SendMessageW(form.subnetMask, IPM_SETADDRESS, 0, fields.subnetMask);
  SendMessageW(form.gateway, IPM_SETADDRESS, 0, fields.gateway);
  SetWindowTextW(form.basePort, fields.basePortText.c_str());
  SetWindowTextW(form.httpPort, fields.httpPortText.c_str());
}

bool AcceptInput(HWND dialog, const IpChangeForm& form, IpSettings& accepted) {
  const IpValidation result = ValidateIpSettings(ReadInput(form));
  if (result.error == IP_INPUT_OK) {
    accepted = result.settings;
    return true;
  }
  NotifyUser(IpInputErrorMessage(result.error), APP_CAPTION, dialog);
  switch (IpInputErrorFocus(result.error)) {
    case IpInputFocus::BasePort:
      SetFocus(form.basePort);
      break;
    case IpInputFocus::HttpPort:
      SetFocus(form.httpPort);
      break;
    case IpInputFocus::Unchanged:
      break;
  }
  return false;
}
