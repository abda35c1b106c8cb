#include <windows.h>
// After windows.h, which it relies on.
#include <timeapi.h>

#include <atomic>

#include "tools/devsim/process_hooks.h"

namespace devsim {
namespace {

std::atomic<bool> stopRequested{false};

// Runs on a thread that the system starts for the console event.
BOOL WINAPI OnConsoleEvent(DWORD) {
  stopRequested = true;
  return TRUE;
}

}  // namespace

void InstallStopHandlers() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

bool StopRequested() { return stopRequested; }

// The default tick of about 15.6 ms would let only one burst go per tick.
void RequestFineTimer() { timeBeginPeriod(1); }

}  // namespace devsim
