// What one search request sets off: every device's replies and the junk, each
// at a random moment of the answer window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "tools/devsim/schedule.h"
#include "tools/devsim/sim_device.h"

namespace devsim {

// Draws from mt19937_64 by plain arithmetic: the standard distributions may
// differ between standard libraries, and one start value must replay the same
// run on Linux and on Windows.
class Rng {
 public:
  explicit Rng(std::uint64_t randomStart) : engine_(randomStart) {}
  std::uint64_t Next() { return engine_(); }
  // Uniform in [low, high].
  std::int64_t Between(std::int64_t low, std::int64_t high);

 private:
  std::mt19937_64 engine_;
};

struct AnswerWindow {
  Micros earliest = 0;
  Micros latest = 300000;
};

struct PlannedSearch {
  std::size_t replies = 0;
  std::size_t noise = 0;
};

// Adds to `schedule` repeat replies per device and `noise` junk datagrams,
// each due at now plus a delay drawn from `window`.
PlannedSearch PlanSearch(const std::vector<SimDevice>& devices, int noise,
                         const AnswerWindow& window, Micros now, Rng& rng,
                         PacedSchedule& schedule);

}  // namespace devsim
