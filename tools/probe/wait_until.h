// Polling for a state of another program's windows, which no event announces
// to an outside observer.
#pragma once

#include <windows.h>

#include <functional>

namespace probe {

// Asks `ready` until it holds or `timeoutMs` has passed; asks at least once,
// so a timeout of 0 is a single look.
bool WaitUntil(DWORD timeoutMs, const std::function<bool()>& ready);

}  // namespace probe
