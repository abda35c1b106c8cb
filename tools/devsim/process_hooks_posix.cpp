#include <signal.h>

#include <csignal>

#include "tools/devsim/process_hooks.h"

namespace devsim {
namespace {

volatile std::sig_atomic_t stopRequested = 0;

void OnStopSignal(int) { stopRequested = 1; }

}  // namespace

void InstallStopHandlers() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a wait in progress returns early and the loop sees the
  // flag at once.
  action.sa_flags = 0;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool StopRequested() { return stopRequested != 0; }

void RequestFineTimer() {}

}  // namespace devsim
