#include "tests/support/session_driver.h"

#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>

SessionDriver::SessionDriver(SearchOptions options)
    : session_(std::make_unique<SearchSession>(
          table_, static_cast<SearchFrontEnd&>(*this), options)) {}

SessionDriver::~SessionDriver() {
  // Also after a failed test: the session stops its engine and worker on
  // its own thread, before the table goes.
  owner_.Run([this] { session_.reset(); });
}

SearchStart SessionDriver::Start() {
  SearchStart result = SearchStart::EngineFailed;
  owner_.Run([&] { result = session_->Start(); });
  return result;
}

void SessionDriver::End(std::chrono::milliseconds limit) {
  auto done = std::make_shared<std::promise<void>>();
  owner_.Post([this] {
    while (session_->Searching()) session_->Tick();
  });
  // The last tick asked for one more intake, posted behind the ticks; this
  // waits behind it in turn.
  owner_.Post([this, done] {
    while (session_->Busy()) session_->TakeIn(~std::size_t{0});
    done->set_value();
  });
  if (done->get_future().wait_for(limit) != std::future_status::ready) {
    std::fprintf(stderr, "the end of the search did not return\n");
    std::abort();
  }
}

bool SessionDriver::WaitForRows(std::size_t count,
                                std::chrono::milliseconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  for (;;) {
    std::size_t found = 0;
    owner_.Run([&] { found = table_.Size(); });
    if (found >= count) return true;
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::vector<DeviceRow> SessionDriver::Rows() {
  std::vector<DeviceRow> rows;
  owner_.Run([&] { rows = table_.MutableRows(); });
  return rows;
}

TurnedAway SessionDriver::TurnedAwayDevices() {
  TurnedAway away;
  owner_.Run([&] { away = table_.TurnedAwayDevices(); });
  return away;
}

bool SessionDriver::Searching() {
  bool searching = false;
  owner_.Run([&] { searching = session_->Searching(); });
  return searching;
}

int SessionDriver::Collisions() {
  int count = 0;
  owner_.Run([&] { count = collisions_; });
  return count;
}

int SessionDriver::Ends() {
  int count = 0;
  owner_.Run([&] { count = ends_; });
  return count;
}

bool SessionDriver::Ticking() {
  bool ticking = false;
  owner_.Run([&] { ticking = ticking_; });
  return ticking;
}

void SessionDriver::Deliver(std::vector<PendingReply> batch) {
  session_->Deliver(std::move(batch));
}

void SessionDriver::StartTicks(std::chrono::milliseconds) { ticking_ = true; }
void SessionDriver::StopTicks() { ticking_ = false; }

void SessionDriver::RepliesWaiting() {
  // As a window does: a message to the owner's thread, served in slices.
  owner_.Post([this] {
    if (session_ && session_->TakeIn(500)) RepliesWaiting();
  });
}

void SessionDriver::OnRowsAdded(const RowsAdded&) {}
void SessionDriver::OnCollision() { ++collisions_; }
void SessionDriver::OnEnded() { ++ends_; }
