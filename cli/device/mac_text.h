// A MAC address as an installer types or pastes it, on the command line and
// in a plan's cell alike. The codec's ParseMac, shared with the window tool,
// stays as strict as the window is; this reading forgives what a label or a
// copy brings along.
#pragma once

#include <string>
#include <vector>

#include "cli/device/settings_edit.h"

namespace cli {

// The forms ReadMacText takes, for every message about a MAC address.
extern const char* const MAC_FORMS;

// Every form ParseMac reads, and six pairs of hex digits apart by blanks
// ("02 51 4C 10 00 02", as some labels print it); the blanks around the
// address are ignored. False (and `mac` untouched) for anything else.
bool ReadMacText(const std::string& text, Mac* mac);

// A MAC written with blanks and not quoted reaches a program as six words.
// `words` are the arguments from the one that was no MAC on: their first
// six joined by blanks when that reads as a MAC, else empty.
std::string SplitMac(const std::vector<std::string>& words);

}  // namespace cli
