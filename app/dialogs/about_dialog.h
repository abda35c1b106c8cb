// The About box: the program icon and "Quellan Application ver " with the
// file version of the running program.
#pragma once

#include <string>

#include "app/dialogs/base_dialog.h"

class CAboutDlg : public CBaseDialog {
 public:
  CAboutDlg();
  ~CAboutDlg() override;

 protected:
  winui::MessageResult ProcessMessage(const winui::Message& m) override;

 private:
  using Self = CAboutDlg;
  winui::MessageResult OnInitDialog(const winui::Message& m);
  winui::MessageResult OnClose(const winui::Message& m);

  static const winui::MessageMapEntry<CAboutDlg> MESSAGE_MAP[];

  HWND versionText_ = nullptr;
  HFONT textFont_ = nullptr;
};

// The file version of the running program as "a.b.c.d"; empty when the
// program has no version information or it can not be read.
std::wstring RunningProgramVersion();
