#include "cli/format/progress_line.h"

#include <algorithm>
#include <utility>

#include "cli/format/display_width.h"

namespace cli {
namespace {

constexpr std::chrono::milliseconds REDRAW{500};

}  // namespace

ProgressLine::ProgressLine(ProgressTarget target, Write write)
    : target_(target), write_(std::move(write)) {}

void ProgressLine::Show(const std::string& text) {
  if (target_ != ProgressTarget::Terminal) return;
  std::lock_guard<std::mutex> hold(lock_);
  const std::size_t width = DisplayWidth(text);
  std::string line = "\r" + text;
  if (width < shownWidth_) {
    // Blank the rest of the longer text, then come back to the end of this.
    line.append(shownWidth_ - width, ' ');
    line += "\r" + text;
  }
  write_(line);
  shownWidth_ = width;
}

void ProgressLine::Clear() {
  std::lock_guard<std::mutex> hold(lock_);
  ClearLocked();
}

void ProgressLine::WriteAside(const std::function<void()>& write) {
  std::lock_guard<std::mutex> hold(lock_);
  ClearLocked();
  write();
}

void ProgressLine::ClearLocked() {
  if (target_ != ProgressTarget::Terminal || shownWidth_ == 0) return;
  write_("\r" + std::string(shownWidth_, ' ') + "\r");
  shownWidth_ = 0;
}

ProgressWait::ProgressWait(ProgressLine& line, std::chrono::milliseconds length,
                           Text text)
    : line_(line), text_(std::move(text)) {
  if (length < LONG_WAIT) return;
  ticker_ = std::thread(&ProgressWait::Run, this,
                        std::chrono::steady_clock::now() + length);
}

ProgressWait::~ProgressWait() {
  if (!ticker_.joinable()) return;
  {
    std::lock_guard<std::mutex> hold(lock_);
    ending_ = true;
  }
  ended_.notify_all();
  ticker_.join();
  line_.Clear();
}

void ProgressWait::Run(std::chrono::steady_clock::time_point end) {
  // Drawn at least once, however soon the wait ends: the line's bytes do
  // not depend on how the threads were scheduled.
  std::unique_lock<std::mutex> hold(lock_);
  do {
    const auto left = std::max(end - std::chrono::steady_clock::now(),
                               std::chrono::steady_clock::duration::zero());
    line_.Show(text_(std::chrono::ceil<std::chrono::seconds>(left)));
  } while (!ended_.wait_for(hold, REDRAW, [this] { return ending_; }));
}

std::string TimeLeftText(std::chrono::seconds left) {
  return std::to_string(left.count()) + " s left";
}

std::string VerifyProgressText(int wave, std::size_t answered,
                               std::size_t awaited,
                               const std::string& waitingFor,
                               std::chrono::seconds left) {
  std::string text = "wave " + std::to_string(wave) + ": " +
                     std::to_string(answered) + " of " +
                     std::to_string(awaited) + " answered";
  if (!waitingFor.empty()) text += ", waiting for " + waitingFor;
  return text + ", " + TimeLeftText(left);
}

}  // namespace cli
