#include "core/engine/port_conflict.h"
#include "tests/support/port_holder.h"

// Wine's UDP endpoint table lists the port but gives 0 as its owner, so under
// Wine the report names no process.
std::wstring ExpectedPortHolderDetail() { return UnknownOwnerDetail(); }
