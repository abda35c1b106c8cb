#include <windows.h>

#include "winui/ui_wait.h"

void WaitServingSentMessages(const std::function<bool()>& done) {
  while (!done()) {
    MsgWaitForMultipleObjectsEx(0, nullptr, 5, QS_SENDMESSAGE, 0);
    MSG msg;
    // Peeking delivers the messages that other threads have sent.
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}
