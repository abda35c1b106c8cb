// The IP change progress dialog: a bar and a "done / total" counter fed by
// the multi-device change, and a "Complete" button usable only once the count
// reaches the total. Ends with IDOK (1) by "Complete", IDCANCEL (2) by Esc or
// the caption's close button, which work at any time.
#pragma once

#include <cstdint>

#include "dialogs/base_dialog.h"

// Sent (not posted) to the dialog's window; wParam: the number of devices
// done so far. Answered with 0.
constexpr UINT WM_CHANGE_PROGRESS = WM_USER + 1;

class CIPChangeStateDlg : public CBaseDialog {
 public:
  explicit CIPChangeStateDlg(std::int32_t total);

  std::int32_t DoneCount() const { return doneCount; }

 protected:
  winui::MessageResult ProcessMessage(const winui::Message& m) override;

 private:
  using Self = CIPChangeStateDlg;
  winui::MessageResult OnInitDialog(const winui::Message& m);
  winui::MessageResult OnEnd(const winui::Message& m);
  winui::MessageResult OnProgress(const winui::Message& m);

  void UpdateProgress();

  static const winui::MessageMapEntry<CIPChangeStateDlg> kMessageMap[];

  std::int32_t totalCount;
  std::int32_t doneCount = 0;
  HWND counterText = nullptr;
  HWND progressBar = nullptr;
};
