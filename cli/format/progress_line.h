// One line of standard error rewritten in place while the program waits on
// the network (a search window, a verify), so that an installer at a
// terminal can tell a slow device from a hung tool. It is for eyes only: on
// a file or a pipe nothing is written, and scripts and logs see the same
// bytes as without it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace cli {

// --quiet silences the line on a terminal too.
enum class Progress { Shown, Quiet };

// What the line is written to.
enum class ProgressTarget {
  Terminal,  // takes a carriage return: the line is drawn and redrawn
  Other,     // a file, a pipe, or silenced: nothing is written
};

class ProgressLine {
 public:
  using Write = std::function<void(const std::string&)>;
  ProgressLine(ProgressTarget target, Write write);

  // Draws `text` over what the line showed: a carriage return, the text,
  // blanks over the rest of the text before. No escape sequences, which a
  // Windows console takes only when told to.
  void Show(const std::string& text);
  // Blanks the line and leaves the cursor at its start.
  void Clear();
  // Clears the line, then runs `write` (a message, a report), so that the
  // text does not land behind the line; the next Show draws it again below.
  void WriteAside(const std::function<void()>& write);

 private:
  void ClearLocked();

  const ProgressTarget target_;
  const Write write_;
  std::mutex lock_;
  std::size_t shownWidth_ = 0;  // columns on the line now
};

// While it lives, a wait of `length` shows `text(time left)` on `line`
// every half second, and clears it when it ends. A wait shorter than
// LONG_WAIT shows nothing: it is over before anyone wonders.
class ProgressWait {
 public:
  static constexpr std::chrono::milliseconds LONG_WAIT{2000};
  using Text = std::function<std::string(std::chrono::seconds left)>;

  ProgressWait(ProgressLine& line, std::chrono::milliseconds length, Text text);
  ~ProgressWait();
  ProgressWait(const ProgressWait&) = delete;
  ProgressWait& operator=(const ProgressWait&) = delete;

 private:
  void Run(std::chrono::steady_clock::time_point end);

  ProgressLine& line_;
  const Text text_;
  std::mutex lock_;
  std::condition_variable ended_;
  bool ending_ = false;
  std::thread ticker_;
};

// "12 s left"; rounded up, so that the last second reads "1 s left".
std::string TimeLeftText(std::chrono::seconds left);

// A wave's verify: "wave 1: 49 of 50 answered, waiting for
// 02:51:4C:30:00:07, 12 s left".
std::string VerifyProgressText(int wave, std::size_t answered,
                               std::size_t awaited,
                               const std::string& waitingFor,
                               std::chrono::seconds left);

}  // namespace cli
