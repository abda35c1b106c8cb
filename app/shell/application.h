#pragma once

// Runs the main frame on the calling thread until it is closed and answers
// the exit code: 1 after a normal close, 0 when the frame could not be
// created.
int RunApplication(int showCommand);
