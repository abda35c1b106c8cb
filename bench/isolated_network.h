// The engine benchmarks broadcast and bind the discovery port, which is only
// allowed on the private test links of a network namespace.
#pragma once

#include <string>

// True when every local adapter is on 10.77.x.x or 10.78.x.x or has no
// address; otherwise `why` says which adapter is in the way.
bool OnIsolatedTestNetwork(std::string* why);
