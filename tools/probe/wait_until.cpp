#include "tools/probe/wait_until.h"

namespace probe {

namespace {

constexpr DWORD POLL_PAUSE_MS = 50;

}  // namespace

bool WaitUntil(DWORD timeoutMs, const std::function<bool()>& ready) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (ready()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(POLL_PAUSE_MS);
  }
}

}  // namespace probe
