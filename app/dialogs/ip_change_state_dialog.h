// The IP change progress dialog: a bar and a "done / total" counter fed by
// the multi-device change, and a "Complete" button usable only once the count
// reaches the total. Ends with IDOK (1) by "Complete", IDCANCEL (2) by Esc or
// the caption's close button, which work at any time.
#pragma once

#include <cstdint>

#include "app/dialogs/base_dialog.h"
#include "app/messages/window_messages.h"

class CIPChangeStateDlg : public CBaseDialog {
 public:
  explicit CIPChangeStateDlg(std::int32_t total);

  std::int32_t DoneCount() const { return doneCount_; }

 protected:
  winui::MessageResult ProcessMessage(const winui::Message& m) override;

 private:
  using Self = CIPChangeStateDlg;
  winui::MessageResult OnInitDialog(const winui::Message& m);
  winui::MessageResult OnEnd(const winui::Message& m);
  winui::MessageResult OnProgress(const winui::Message& m);

  void UpdateProgress();

  static const winui::MessageMapEntry<CIPChangeStateDlg> MESSAGE_MAP[];

  std::int32_t totalCount_;
  std::int32_t doneCount_ = 0;
  HWND counterText_ = nullptr;
  HWND progressBar_ = nullptr;
};
