// The send schedule: replies and junk wait in a queue ordered by due time and
// leave it no faster than a token bucket allows, so that thousands of devices
// answering one search never burst more than a receiver's buffer holds.
// Time is passed in, never read, so the schedule runs on a fake clock too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <queue>
#include <vector>

namespace devsim {

// Microseconds on a monotonic clock.
using Micros = std::int64_t;
constexpr Micros NEVER = INT64_MAX;

// Lets `burst` sends go at once, then `ratePerSecond` on average. Time is
// counted in whole microseconds, so a span of T us may see the allowance of
// T + 1 us.
class Pacer {
 public:
  Pacer(int ratePerSecond, int burst);
  // The earliest time, not before `now`, at which a send may go.
  Micros ReadyAt(Micros now) const;
  // Takes one send's allowance if there is one at `now`.
  bool TryTake(Micros now);

 private:
  // Allowance in millionths of a send, so refills stay in integers.
  std::int64_t TokensAt(Micros now) const;

  std::int64_t rate_;
  std::int64_t capacity_;
  std::int64_t tokens_;
  Micros last_ = 0;
};

struct SendItem {
  enum class Kind { Reply, Noise, ProbeMatch };
  Kind kind = Kind::Reply;
  // The device for a reply or a probe match; the position in its search for
  // junk.
  std::uint32_t index = 0;
  // Junk contents derive from this, so they do not depend on send order.
  std::uint64_t noiseKey = 0;
  // The probe a probe match answers, as the simulator numbers them.
  std::uint64_t probe = 0;
};

class PacedSchedule {
 public:
  PacedSchedule(int ratePerSecond, int burst);
  void Add(Micros due, const SendItem& item);
  // Pops the earliest item when it is due and the pacer lets it go at `now`.
  bool TakeDue(Micros now, SendItem* item);
  // When TakeDue will next succeed; NEVER when nothing waits.
  Micros NextSendAt(Micros now) const;
  std::size_t Pending() const { return queue_.size(); }

 private:
  struct Entry {
    Micros due;
    std::uint64_t order;
    SendItem item;
  };
  struct Later {
    bool operator()(const Entry& a, const Entry& b) const {
      return a.due != b.due ? a.due > b.due : a.order > b.order;
    }
  };

  std::priority_queue<Entry, std::vector<Entry>, Later> queue_;
  std::uint64_t added_ = 0;
  Pacer pacer_;
};

}  // namespace devsim
