// The platform's part of ReadWholeFile: opening a file for reading by its
// UTF-8 name.
#pragma once

#include <cstdio>
#include <string>

// Null with errno set when the file cannot be opened.
std::FILE* OpenForReading(const std::string& path);
