// Picks single values out of the probe's JSON lines, for tests that can not
// compare a whole line (window handles differ from run to run).
#pragma once

#include <string>

// The raw JSON value of `key` at the top level of the object `line` (a
// string keeps its quotes), or "" when the key is missing.
std::string JsonField(const std::string& line, const std::string& key);
