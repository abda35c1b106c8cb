// A Linux jump host whose adapter filters by reverse path strictly drops the
// replies of devices outside that adapter's subnet, new devices on their
// factory address above all, without a trace: the search cannot list them.
// The command line says so, and names the setting that loosens it.
#pragma once

#include <cstdint>

namespace cli {

// Once a run, warns on standard error of each adapter that a search uses
// (`adapter`: only the one with that address; 0: every one) and that filters
// strictly.
void WarnOfStrictPathFilter(std::uint32_t adapter);

}  // namespace cli
