#include <signal.h>

#include <atomic>

#include "platform/stop_signal.h"

namespace {

// Read by another thread as well (a second request ends a change at once);
// a lock-free atomic is safe to write from a signal handler.
std::atomic<int> stopRequests{0};
static_assert(std::atomic<int>::is_always_lock_free,
              "a signal handler may only touch lock-free atomics");

void OnStopSignal(int) { stopRequests.fetch_add(1); }

}  // namespace

void InstallStopHandlers() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool StopRequested() { return stopRequests.load() != 0; }

int StopRequests() { return stopRequests.load(); }
