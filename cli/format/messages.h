// What the program prints: data on standard output, messages on standard
// error, the engine's own included. The engine reports a taken port or a
// missing adapter through the user notification, which the command line
// turns into a line on standard error and an exit status.
#pragma once

#include <string>

#include "cli/format/progress_line.h"

namespace cli {

// The exit statuses of the contract.
constexpr int EXIT_DONE = 0;
constexpr int EXIT_NETWORK_FAILURE = 1;  // network or engine failure
constexpr int EXIT_REFUSED = 2;          // bad command line or refused input
constexpr int EXIT_NOT_FOUND = 3;
constexpr int EXIT_PROBLEMS = 4;  // not confirmed, or the plan has problems

// Writes `text` to standard output at once, so that a reader of a pipe sees
// each report or event as it happens. Standard output and error take UTF-8,
// which a Windows console is given as wide characters.
void Emit(const std::string& text);

// "quellan-cli: TEXT" on standard error.
void Tell(const std::string& text);

// Routes the engine's messages to standard error.
void InstallEngineNotifier();

// Standard error's progress line: drawn on a terminal unless --quiet said
// Progress::Quiet, never on a file or a pipe. Emit and Tell write aside of
// it.
void SetProgress(Progress progress);
ProgressLine& ErrorProgress();

}  // namespace cli
