// The texts of the About box. No window system needed.
#pragma once

#include <cstdint>
#include <string>

// "a.b.c.d" from the two 32-bit words of a fixed file version: high and low
// word of the most significant one, then of the least significant one, each
// in decimal without leading zeros.
std::wstring FormatFileVersion(uint32_t versionMS, uint32_t versionLS);

// "Quellan Application ver " followed by `version`.
std::wstring AboutText(const std::wstring& version);
