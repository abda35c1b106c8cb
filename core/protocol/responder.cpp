#include "core/protocol/responder.h"

#include <algorithm>

bool TestReplySchedule::Schedule(const std::uint8_t* request,
                                 Clock::time_point now,
                                 std::chrono::milliseconds delay) {
  if (pending_.size() >= MAX_PENDING) return false;
  pending_.push_back({now + delay, EncodeTestReply(request)});
  return true;
}

std::vector<TestReplySchedule::Reply> TestReplySchedule::TakeDue(
    Clock::time_point now) {
  std::stable_sort(
      pending_.begin(), pending_.end(),
      [](const Entry& a, const Entry& b) { return a.due < b.due; });
  std::vector<Reply> due;
  auto firstLater = pending_.begin();
  while (firstLater != pending_.end() && firstLater->due <= now) {
    due.push_back(firstLater->reply);
    ++firstLater;
  }
  pending_.erase(pending_.begin(), firstLater);
  return due;
}

int TestReplySchedule::MillisecondsUntilNext(Clock::time_point now,
                                             int limit) const {
  int wait = limit;
  for (const Entry& entry : pending_) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(entry.due - now);
    wait =
        std::min(wait, static_cast<int>(std::max<long long>(0, left.count())));
  }
  return wait;
}
