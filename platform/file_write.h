// Files written whole or not at all: under a temporary name in the target's
// folder, then renamed over the target, so a stop or a failure never leaves
// half a file under the name the user gave. The temporary name is ASCII,
// for writers that open files by a name in the code page (on Windows a
// character outside it would be lost); the target's name may be any UTF-8.
#pragma once

#include <string>

struct FileWritten {
  bool ok = false;
  // When not ok: the system's reason, e.g. "Permission denied".
  std::string reason;
};

// A name for a temporary file beside `target`, which no other call of this
// process gives.
std::string TemporaryBeside(const std::string& target);

// Writes `bytes` to `path` (a name TemporaryBeside gave).
FileWritten WriteNewFile(const std::string& path, const std::string& bytes);

// Renames `from` over `to`, replacing a file of that name. `from` is gone
// either way.
FileWritten MoveOver(const std::string& from, const std::string& to);

// Removes a file that is not wanted, quietly.
void RemoveQuietly(const std::string& path);
