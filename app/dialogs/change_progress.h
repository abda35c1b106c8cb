// What the IP change progress dialog shows for a count of devices done.
#pragma once

#include <cstdint>
#include <string>

// "%03d / %03d": at least three digits each, longer numbers in full.
std::wstring ProgressCounterText(std::int32_t done, std::int32_t total);

// "Complete" becomes usable only at exactly the total; a count past it does
// not count as done.
bool IsChangeComplete(std::int32_t done, std::int32_t total);

// The end of the progress bar's range, which is 16 bits wide.
std::uint16_t ProgressRangeEnd(std::int32_t total);
