// JSON strings, as every program's JSON output writes them.
#pragma once

#include <string>

// `text` (UTF-8) as a JSON string literal, quotes included: quotes,
// backslashes and control characters escaped, everything else as it is.
std::string JsonString(const std::string& text);
