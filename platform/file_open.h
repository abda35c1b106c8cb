// The platform's part of ReadWholeFile and of the whole-or-nothing writes:
// opening a file by its UTF-8 name, and what a path looks like.
#pragma once

#include <cstdio>
#include <string>

// Null with errno set when the file cannot be opened.
std::FILE* OpenForReading(const std::string& path);
// Null with errno set when the file cannot be created.
std::FILE* OpenForWriting(const std::string& path);
// Where the folder part of `path` ends: after its last separator, or 0.
std::size_t FolderEnd(const std::string& path);
// This process's number, which keeps its temporary names from another's.
unsigned long ProcessNumber();
