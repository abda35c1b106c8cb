// Waiting on the user-interface thread for another thread that may itself be
// sending this thread a message (a message box re-enabling its owner, a
// worker reporting progress): messages sent to this thread are served while
// it waits, so the two never wait for each other.
#pragma once

#include <functional>

void WaitServingSentMessages(const std::function<bool()>& done);
