// What the simulator needs from the operating system besides sockets.
#pragma once

namespace devsim {

// Lets Ctrl+C and termination requests end the loop cleanly: the handler only
// raises a flag, which the loop polls between waits.
void InstallStopHandlers();
bool StopRequested();

// Asks for millisecond timer resolution where waits are coarser by default,
// so that pacing holds its rate. Lasts until the process ends.
void RequestFineTimer();

}  // namespace devsim
