// While a change runs, a first Ctrl+C lets it end safely (no new wave, the
// current one verified, parked devices sent back), and is answered at once
// with what will happen; a second one ends the program at once, after it
// has printed the report as far as it got.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace cli {

class SecondStop {
 public:
  // Watches for the second request until destroyed; on one, `deliver`
  // writes the report kept.
  explicit SecondStop(std::function<void(const std::string&)> deliver);
  ~SecondStop();
  SecondStop(const SecondStop&) = delete;
  SecondStop& operator=(const SecondStop&) = delete;

  // The report as far as it got, kept for a second stop request; while
  // none is kept, nothing was sent.
  void Keep(std::string report);
  // What the first stop request is answered with, at once.
  void Acknowledge(std::string words);

 private:
  void Watch();

  std::function<void(const std::string&)> deliver_;
  std::mutex lock_;
  std::string report_;
  std::string acknowledgement_;
  bool acknowledged_ = false;  // the watcher's own
  std::atomic<bool> done_{false};
  std::thread watcher_;
};

// The exit status after a stop request, as a shell gives for SIGINT.
constexpr int EXIT_STOPPED = 130;

}  // namespace cli
