// What the simulator needs from the operating system besides sockets.
#pragma once

namespace devsim {

// Asks for millisecond timer resolution where waits are coarser by default,
// so that pacing holds its rate. Lasts until the process ends.
void RequestFineTimer();

}  // namespace devsim
