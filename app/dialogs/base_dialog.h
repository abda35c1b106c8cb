// The common base of the program's modal dialogs: a self-painted grey frame
// with the caption title, the program icon and a close button of its own,
// the client area and static texts on DIALOG_BACKGROUND, no system menu, and
// the dialog centred when it opens.
#pragma once

#include <windows.h>

#include "app/dialogs/caption_paint.h"
#include "winui/dialog.h"
#include "winui/message_loop.h"

constexpr COLORREF DIALOG_BACKGROUND = RGB(232, 236, 246);

class CBaseDialog : public winui::Dialog, public winui::MessageFilter {
 public:
  CBaseDialog(int dialogId, const wchar_t* title);
  ~CBaseDialog() override;

  bool PreTranslateMessage(MSG& msg) override;

  const CaptionButton& CloseButton() const { return closeButton_; }
  const wchar_t* CaptionTitle() const { return captionTitle; }

 protected:
  // Derived classes try their own map first and pass everything else here.
  winui::MessageResult ProcessMessage(const winui::Message& m) override;
  // Ends every derived WM_INITDIALOG; answers FALSE, so the dialog manager
  // sets no keyboard focus.
  LRESULT CommonInit();

 private:
  using Self = CBaseDialog;
  winui::MessageResult OnInitDialog(const winui::Message& m);
  winui::MessageResult OnNcPaint(const winui::Message& m);
  winui::MessageResult OnNcMouseMove(const winui::Message& m);
  winui::MessageResult OnNcLButtonUp(const winui::Message& m);
  winui::MessageResult OnNcLButtonDown(const winui::Message& m);
  winui::MessageResult OnNcActivate(const winui::Message& m);
  winui::MessageResult OnPaint(const winui::Message& m);
  winui::MessageResult OnCtlColorStatic(const winui::Message& m);

  void PaintFrame(bool active);
  CaptionButtonHit HitTest(LPARAM lParam) const;

  static const winui::MessageMapEntry<CBaseDialog> MESSAGE_MAP[];

  int pressedButton_ = CAPTION_HIT_NONE;
  CaptionButton closeButton_{};
  SIZE frameBorder_{};
  int captionHeight_ = 0;
  wchar_t captionTitle[256] = L"";
  HICON icon_ = nullptr;
};
