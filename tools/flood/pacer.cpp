#include "tools/flood/pacer.h"

#include <algorithm>

namespace flood {
namespace {

// A pass of the send loop is about a tenth of a millisecond; this is several
// passes' worth at the highest rate.
constexpr std::int64_t BURST = 512;

}  // namespace

Pacer::Pacer(std::int64_t rate, std::int64_t total)
    : rate_(rate), total_(total) {}

std::int64_t Pacer::TakeDue(double elapsedSeconds) {
  std::int64_t target = static_cast<std::int64_t>(elapsedSeconds * rate_);
  if (total_ >= 0) target = std::min(target, total_);
  const std::int64_t due = std::clamp<std::int64_t>(target - sent_, 0, BURST);
  sent_ += due;
  return due;
}

}  // namespace flood
