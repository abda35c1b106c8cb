// Ctrl+C and termination requests end a console program's loop cleanly: the
// handlers only raise a flag that the loop looks at between its waits. A wait
// in progress returns early (no SA_RESTART), so the flag is seen at once.
#pragma once

void InstallStopHandlers();
bool StopRequested();
// How many stop requests came: a second one asks to end at once.
int StopRequests();
