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

// Adds to `schedule` repeat replies per device that answers our protocol and
// `noise` junk datagrams,
// each due at now plus a delay drawn from `window`.
PlannedSearch PlanSearch(const std::vector<SimDevice>& devices, int noise,
                         const AnswerWindow& window, Micros now, Rng& rng,
                         PacedSchedule& schedule);

// ONVIF asks a device to wait a random 0 to 500 ms before it answers a
// probe, so that a site's answers do not all arrive at once.
constexpr Micros PROBE_ANSWER_LATEST = 500000;

// Adds to `schedule` one probe match per device that answers ONVIF, due at
// now plus a random delay of up to PROBE_ANSWER_LATEST, each tagged with
// `probe`; returns how many.
std::size_t PlanProbeMatches(const std::vector<SimDevice>& devices,
                             std::uint64_t probe, Micros now, Rng& rng,
                             PacedSchedule& schedule);

}  // namespace devsim
