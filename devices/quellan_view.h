// The device view: the child dialog that fills the main frame's client
// area. For now it shows its controls and keeps the frame's handle; the
// device list, its layout and the commands come with the device subsystem.
#pragma once

#include <windows.h>

#include "winui/dialog.h"

class CQuellanView : public winui::Dialog {
 public:
  CQuellanView();

  void SetFrame(HWND frame) { frameWindow = frame; }
  HWND Frame() const { return frameWindow; }

 protected:
  winui::MessageResult ProcessMessage(const winui::Message& m) override;

 private:
  using Self = CQuellanView;
  winui::MessageResult OnInitDialog(const winui::Message& m);

  static const winui::MessageMapEntry<CQuellanView> kMessageMap[];

  HWND frameWindow = nullptr;
};
