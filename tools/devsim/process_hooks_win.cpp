#include <windows.h>
// After windows.h, which it relies on.
#include <timeapi.h>

#include "tools/devsim/process_hooks.h"

namespace devsim {

// The default tick of about 15.6 ms would let only one burst go per tick.
void RequestFineTimer() { timeBeginPeriod(1); }

}  // namespace devsim
