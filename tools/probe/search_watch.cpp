// Measures a search from outside, as a user waiting for it would see it:
// how long the window takes to answer while the search runs, and when the
// search button comes back.
#include <algorithm>
#include <vector>

#include "core/text/json_line.h"
#include "tools/probe/commands.h"
#include "tools/probe/toolbar.h"

namespace probe {

namespace {
constexpr int SEARCH_COMMAND = 32777;
constexpr DWORD SAMPLE_PAUSE_MS = 10;
// A window that does not answer within this long is hung, not slow.
constexpr UINT HUNG_MS = 10000;
}  // namespace

int SearchWatch(const Invocation& invocation) {
  const auto windows = AwaitQuellan(invocation);
  if (!windows) return NOT_THERE;
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  auto millis = [&](const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
  };
  QueryPerformanceCounter(&start);
  PostMessageW(windows->frame, WM_COMMAND, MAKEWPARAM(SEARCH_COMMAND, 0), 0);

  std::vector<double> answers;
  bool sawDisabled = false;
  double backAfter = -1;
  for (;;) {
    LARGE_INTEGER asked;
    QueryPerformanceCounter(&asked);
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(windows->view, WM_NULL, 0, 0, SMTO_NORMAL, HUNG_MS,
                             &ignored)) {
      Complain("the window did not answer within 10 s");
      return NOT_THERE;
    }
    QueryPerformanceCounter(&now);
    answers.push_back(millis(asked, now));
    const auto button = FindToolButton(windows->frame, SEARCH_COMMAND);
    if (button && !IsEnabled(*button)) sawDisabled = true;
    if (sawDisabled && button && IsEnabled(*button)) {
      backAfter = millis(start, now);
      break;
    }
    if (millis(start, now) > invocation.timeoutMs) break;
    Sleep(SAMPLE_PAUSE_MS);
  }
  std::vector<double> sorted = answers;
  std::sort(sorted.begin(), sorted.end());
  JsonLine()
      .Number("samples", static_cast<std::int64_t>(sorted.size()))
      .Number("longest_answer_us",
              static_cast<std::int64_t>(sorted.back() * 1000))
      .Number("median_answer_us",
              static_cast<std::int64_t>(sorted[sorted.size() / 2] * 1000))
      .Number("search_back_after_ms", static_cast<std::int64_t>(backAfter))
      .Print();
  return backAfter >= 0 ? SUCCESS : NOT_THERE;
}

}  // namespace probe
