#include "tools/devsim/process_hooks.h"

namespace devsim {

// Waits are fine enough here already.
void RequestFineTimer() {}

}  // namespace devsim
