#include "tools/devsim/schedule.h"

#include <algorithm>

namespace devsim {
namespace {
constexpr std::int64_t UNIT = 1000000;
}  // namespace

// The capacity holds one microsecond of refill beyond the burst: ReadyAt
// rounds up to whole microseconds, and the part of a send's allowance that
// rounding adds would otherwise be lost, slowing the rate below the one asked
// for. It stays below one more send as long as the rate is at most a million.
Pacer::Pacer(int ratePerSecond, int burst)
    : rate_(std::min<std::int64_t>(UNIT, std::max(1, ratePerSecond))),
      capacity_(static_cast<std::int64_t>(std::max(1, burst)) * UNIT + rate_ -
                1),
      tokens_(static_cast<std::int64_t>(std::max(1, burst)) * UNIT) {}

std::int64_t Pacer::TokensAt(Micros now) const {
  if (now <= last_) return tokens_;
  // Past the time to refill completely the exact span no longer matters, and
  // capping it keeps the product below overflow.
  const Micros fill = (capacity_ - tokens_) / rate_ + 1;
  const Micros elapsed = std::min(now - last_, fill);
  return std::min(capacity_, tokens_ + elapsed * rate_);
}

Micros Pacer::ReadyAt(Micros now) const {
  const std::int64_t tokens = TokensAt(now);
  if (tokens >= UNIT) return now;
  return now + (UNIT - tokens + rate_ - 1) / rate_;
}

bool Pacer::TryTake(Micros now) {
  tokens_ = TokensAt(now);
  last_ = std::max(last_, now);
  if (tokens_ < UNIT) return false;
  tokens_ -= UNIT;
  return true;
}

PacedSchedule::PacedSchedule(int ratePerSecond, int burst)
    : pacer_(ratePerSecond, burst) {}

void PacedSchedule::Add(Micros due, const SendItem& item) {
  queue_.push(Entry{due, added_++, item});
}

bool PacedSchedule::TakeDue(Micros now, SendItem* item) {
  if (queue_.empty() || queue_.top().due > now) return false;
  if (!pacer_.TryTake(now)) return false;
  *item = queue_.top().item;
  queue_.pop();
  return true;
}

Micros PacedSchedule::NextSendAt(Micros now) const {
  if (queue_.empty()) return NEVER;
  const Micros due = std::max(now, queue_.top().due);
  return pacer_.ReadyAt(due);
}

}  // namespace devsim
