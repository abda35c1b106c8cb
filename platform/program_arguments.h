// The arguments a console program was started with, as UTF-8 texts.
#pragma once

#include <string>
#include <vector>

// The arguments after the program's name. On Windows they are taken from the
// wide command line: `argv` there holds them in the ANSI code page, which
// turns every other character into '?'.
std::vector<std::string> ProgramArguments(int argc, char** argv);
