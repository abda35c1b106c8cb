// Whether this process runs on the private test links and nowhere else.
#pragma once

#include <string>

namespace flood {

// True when there is at least one local IPv4 address and every one is on
// 10.77.x.x or 10.78.x.x; otherwise false with the reason in `why`.
bool OnlyOnTestLinks(std::string* why);

}  // namespace flood
