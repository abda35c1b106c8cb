// Ctrl+C and SIGTERM end watch cleanly: the handlers only raise a flag that
// the command looks at between its waits.
#pragma once

namespace cli {

void InstallStopHandlers();
bool StopRequested();

}  // namespace cli
