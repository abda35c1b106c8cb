// The built-in responder's schedule: every search request heard is answered
// with the test reply after r mod 1000 milliseconds. The replies are queued
// with their due times instead of being slept for, so the receive loop keeps
// reading while they wait.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/protocol/datagram.h"

class TestReplySchedule {
 public:
  using Clock = std::chrono::steady_clock;
  using Reply = std::array<std::uint8_t, DATAGRAM_SIZE>;

  // A storm of search requests must not turn the responder into an amplifier:
  // while this many replies wait, further requests get no answer.
  static constexpr std::size_t MAX_PENDING = 32;

  // Queues the answer to `request`, due `delay` after `now`. False when the
  // queue is full and the request is left unanswered.
  bool Schedule(const std::uint8_t* request, Clock::time_point now,
                std::chrono::milliseconds delay);
  // Removes and returns the replies due at `now`, oldest due first.
  std::vector<Reply> TakeDue(Clock::time_point now);
  // Milliseconds until the next reply is due (0 if one is due), capped at
  // `limit`.
  int MillisecondsUntilNext(Clock::time_point now, int limit) const;
  std::size_t Pending() const { return pending_.size(); }

 private:
  struct Entry {
    Clock::time_point due;
    Reply reply;
  };
  std::vector<Entry> pending_;
};
