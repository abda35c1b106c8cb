// Spreads a stream of datagrams evenly over time: a rate a second, up to a
// total, never more than a burst at once, so a sender that falls behind
// catches up gradually instead of in one burst that the link drops.
#pragma once

#include <cstdint>

namespace flood {

class Pacer {
 public:
  // `total` < 0 for no limit but time.
  Pacer(std::int64_t rate, std::int64_t total);
  // How many to send now, `elapsedSeconds` after the start (none before it),
  // counted as sent.
  std::int64_t TakeDue(double elapsedSeconds);
  std::int64_t SentSoFar() const { return sent_; }

 private:
  std::int64_t rate_;
  std::int64_t total_;
  std::int64_t sent_ = 0;
};

}  // namespace flood
