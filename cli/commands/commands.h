// The four commands; each returns the program's exit status.
#pragma once

#include "cli/commands/options.h"

namespace cli {

int SearchCommand(const Options& options);
int SetCommand(const Options& options);
int PlanCommand(const Options& options);
int WatchCommand(const Options& options);

}  // namespace cli
