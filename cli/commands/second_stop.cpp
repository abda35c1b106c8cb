#include "cli/commands/second_stop.h"

#include <chrono>
#include <cstdlib>
#include <utility>

#include "cli/format/messages.h"
#include "platform/stop_signal.h"

namespace cli {
namespace {

// How soon a second stop request is noticed.
constexpr std::chrono::milliseconds POLL{50};

}  // namespace

SecondStop::SecondStop(std::function<void(const std::string&)> deliver)
    : deliver_(std::move(deliver)), watcher_(&SecondStop::Watch, this) {}

SecondStop::~SecondStop() {
  done_ = true;
  watcher_.join();
}

void SecondStop::Keep(std::string report) {
  std::lock_guard<std::mutex> hold(lock_);
  report_ = std::move(report);
}

void SecondStop::Acknowledge(std::string words) {
  std::lock_guard<std::mutex> hold(lock_);
  acknowledgement_ = std::move(words);
}

void SecondStop::Watch() {
  while (!done_) {
    const int requests = StopRequests();
    if (requests >= 1 && !acknowledged_) {
      std::lock_guard<std::mutex> hold(lock_);
      if (!acknowledgement_.empty()) Tell(acknowledgement_);
      acknowledged_ = true;
    }
    if (requests >= 2) {
      std::lock_guard<std::mutex> hold(lock_);
      if (report_.empty()) {
        Tell("stopped at once: nothing was sent");
      } else {
        deliver_(report_);
        Tell("stopped at once: the rows above are as far as the change got");
      }
      std::_Exit(EXIT_STOPPED);
    }
    std::this_thread::sleep_for(POLL);
  }
}

}  // namespace cli
