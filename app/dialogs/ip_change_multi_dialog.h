// The multi-device IP change dialog: one set of settings for several devices,
// starting from fixed defaults, with the same check as the single-device
// dialog. Ends with IDOK (1) when "Change" was accepted, IDCANCEL (2)
// otherwise.
#pragma once

#include <cstdint>

#include "app/dialogs/base_dialog.h"
#include "app/dialogs/ip_change_form.h"
#include "core/protocol/datagram.h"

class CIPChangeMultiDlg : public CBaseDialog {
 public:
  explicit CIPChangeMultiDlg(std::int32_t count);

  // The entered settings with the start IP in ipAddress; defined only after
  // the dialog has ended with IDOK.
  IpSettings Settings() const { return settings_; }

 protected:
  winui::MessageResult ProcessMessage(const winui::Message& m) override;

 private:
  using Self = CIPChangeMultiDlg;
  winui::MessageResult OnInitDialog(const winui::Message& m);
  winui::MessageResult OnChange(const winui::Message& m);
  winui::MessageResult OnClose(const winui::Message& m);

  static const winui::MessageMapEntry<CIPChangeMultiDlg> MESSAGE_MAP[];

  IpSettings settings_;
  std::int32_t serverCount_;
  IpChangeForm form_;
  HWND countText_ = nullptr;
};
