#include "core/devices/blocking_search.h"

#include <cstddef>
#include <limits>

void BlockingSearch::StartTicks(std::chrono::milliseconds period) {
  period_ = period;
  ticking_ = true;
}

void BlockingSearch::StopTicks() { ticking_ = false; }

void BlockingSearch::RepliesWaiting() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    waiting_ = true;
  }
  wake_.notify_one();
}

SearchStart BlockingSearch::Run() {
  using Clock = std::chrono::steady_clock;
  table_.Clear();
  heard_.Clear();
  ended_ = false;
  SearchSession session(table_, *this, options_);
  const SearchStart started = session.Start();
  if (started != SearchStart::Started) return started;
  Clock::time_point nextTick = Clock::now() + period_;
  while (!ended_) {
    {
      std::unique_lock<std::mutex> hold(lock_);
      wake_.wait_until(hold, nextTick, [this] { return waiting_; });
      waiting_ = false;
    }
    // Nothing else waits for this thread, so the whole batch goes in at once.
    while (session.TakeIn(std::numeric_limits<std::size_t>::max())) {
    }
    if (ticking_ && Clock::now() >= nextTick) {
      nextTick += period_;
      session.Tick();
    }
  }
  heard_ = session.TakeHeard();
  return started;
}
