// Runs the program's real dialogs modally in the test thread and drives them
// with messages, with every user notification collected instead of shown.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/dialogs/base_dialog.h"

struct Notification {
  std::wstring text;
  std::wstring caption;
  void* owner;
};

// Collects the notifications made while it lives.
class NotificationCollector {
 public:
  NotificationCollector();
  ~NotificationCollector();
  NotificationCollector(const NotificationCollector&) = delete;
  NotificationCollector& operator=(const NotificationCollector&) = delete;

  const std::vector<Notification>& All() const;
};

// Runs `dialog` modally over a visible owner window; `drive` gets the
// dialog's window once its modal loop first waits for input. Answers what
// the run answers.
INT_PTR RunDriven(CBaseDialog& dialog, const std::function<void(HWND)>& drive);

// "Change" or "Complete" pressed, by the command the button sends.
void PressButton(HWND dialog, int id);

// What one press of "Change" did after `text` was typed into the edit
// `field` with the focus elsewhere; the dialog is then closed with "Close".
struct ChangeAttempt {
  INT_PTR result;
  std::vector<Notification> notes;
  bool focusOnField;
};
ChangeAttempt ChangeWithFieldText(CBaseDialog& dialog, int field,
                                  const std::wstring& text);
// Esc, as the dialog's modal loop sees it; takes effect once `drive` returns.
void PostEscape(HWND dialog);
// A press and release on the painted close button of the caption.
void ClickCaptionClose(const CBaseDialog& dialog);

std::uint32_t AddressOf(HWND dialog, int id);
void SetAddress(HWND dialog, int id, std::uint32_t numeric);
std::wstring TextOf(HWND dialog, int id);
int SelectedIndex(HWND dialog, int id);

constexpr std::uint32_t Numeric(std::uint32_t a, std::uint32_t b,
                                std::uint32_t c, std::uint32_t d) {
  return (a << 24) | (b << 16) | (c << 8) | d;
}
