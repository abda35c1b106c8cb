// Text for the user of a console program on standard output or standard
// error. The program's texts are UTF-8; a Windows console shows them in its
// own code page unless they are written as wide characters, so there they are
// (WriteConsoleW), and no code page is ever changed that an interrupted
// program would have to restore. Files and pipes get the UTF-8 bytes, as do
// terminals elsewhere.
#pragma once

#include <string>

enum class StandardStream { Output, Error };

// Writes `text` (UTF-8) to `stream` at once.
void WriteStandard(StandardStream stream, const std::string& text);

// Whether `stream` goes to a terminal (a Windows console), where a line may
// be drawn over with a carriage return and which must not be sent a binary
// file; not a file, a pipe or the null device.
bool IsTerminal(StandardStream stream);
// Writes `bytes` to standard output as they are, NUL and line ends included.
void WriteStandardBytes(const std::string& bytes);
