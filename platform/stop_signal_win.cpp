#include <windows.h>

#include <atomic>

#include "platform/stop_signal.h"

namespace {

std::atomic<int> stopRequests{0};

// Runs on a thread of its own; returning TRUE keeps the process alive until
// its loop has ended by itself.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
      ++stopRequests;
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void InstallStopHandlers() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

bool StopRequested() { return stopRequests.load() != 0; }

int StopRequests() { return stopRequests.load(); }
