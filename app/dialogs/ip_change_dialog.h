// The single-device IP change dialog: shows the device's network settings,
// checks what the user entered when "Change" is pressed and hands it out.
// Ends with IDOK (1) when "Change" was accepted, IDCANCEL (2) otherwise.
#pragma once

#include "app/dialogs/base_dialog.h"
#include "app/dialogs/ip_change_form.h"
#include "core/protocol/datagram.h"

class CIPChangeDlg : public CBaseDialog {
 public:
  // Keeps no reference to `device`.
  explicit CIPChangeDlg(const DeviceInfo& device);

  // The entered settings; defined only after the dialog has ended with
  // IDOK.
  IpSettings Settings() const { return settings_; }

 protected:
  winui::MessageResult ProcessMessage(const winui::Message& m) override;

 private:
  using Self = CIPChangeDlg;
  winui::MessageResult OnInitDialog(const winui::Message& m);
  winui::MessageResult OnChange(const winui::Message& m);
  winui::MessageResult OnClose(const winui::Message& m);

  static const winui::MessageMapEntry<CIPChangeDlg> MESSAGE_MAP[];

  IpSettings settings_;
  IpChangeForm form_;
};
