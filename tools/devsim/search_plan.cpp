#include "tools/devsim/search_plan.h"

namespace devsim {

std::int64_t Rng::Between(std::int64_t low, std::int64_t high) {
  if (high <= low) return low;
  const std::uint64_t span = static_cast<std::uint64_t>(high - low) + 1;
  return low + static_cast<std::int64_t>(Next() % span);
}

PlannedSearch PlanSearch(const std::vector<SimDevice>& devices, int noise,
                         const AnswerWindow& window, Micros now, Rng& rng,
                         PacedSchedule& schedule) {
  PlannedSearch planned;
  for (std::size_t i = 0; i < devices.size(); ++i) {
    if (!AnswersQuellan(devices[i])) continue;
    for (int r = 0; r < devices[i].repeat; ++r) {
      schedule.Add(
          now + rng.Between(window.earliest, window.latest),
          SendItem{SendItem::Kind::Reply, static_cast<std::uint32_t>(i)});
      ++planned.replies;
    }
  }
  const std::uint64_t noiseKey = rng.Next();
  for (int n = 0; n < noise; ++n) {
    schedule.Add(now + rng.Between(window.earliest, window.latest),
                 SendItem{SendItem::Kind::Noise, static_cast<std::uint32_t>(n),
                          noiseKey});
    ++planned.noise;
  }
  return planned;
}

std::size_t PlanProbeMatches(const std::vector<SimDevice>& devices,
                             std::uint64_t probe, Micros now, Rng& rng,
                             PacedSchedule& schedule) {
  std::size_t planned = 0;
  for (std::size_t i = 0; i < devices.size(); ++i) {
    if (!AnswersOnvif(devices[i])) continue;
    schedule.Add(now + rng.Between(0, PROBE_ANSWER_LATEST),
                 SendItem{SendItem::Kind::ProbeMatch,
                          static_cast<std::uint32_t>(i), 0, probe});
    ++planned;
  }
  return planned;
}

}  // namespace devsim
