#include <signal.h>

#include <csignal>

#include "platform/stop_signal.h"

namespace {

volatile std::sig_atomic_t stopRequests = 0;

void OnStopSignal(int) { stopRequests = stopRequests + 1; }

}  // namespace

void InstallStopHandlers() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool StopRequested() { return stopRequests != 0; }

int StopRequests() { return stopRequests; }
