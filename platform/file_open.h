// The platform's part of ReadWholeFile and of the whole-or-nothing writes:
// opening a file by its UTF-8 name, and what a path looks like.
#pragma once

#include <cstdio>
#include <string>

// Null with errno set when the file cannot be opened.
std::FILE* OpenForReading(const std::string& path);
// Null with errno set when the file cannot be created.
std::FILE* OpenForWriting(const std::string& path);
// The folder part of `path` with its last separator, or empty, spelt in
// ASCII where the system can (Windows' short names).
std::string FolderOf(const std::string& path);
// This process's number, which keeps its temporary names from another's.
unsigned long ProcessNumber();
