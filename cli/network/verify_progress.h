// How far the verify of sent change requests has got: counted once here for
// the engine's searches and for the tests' fake site alike.
#pragma once

#include <chrono>
#include <functional>
#include <vector>

#include "cli/network/discovery.h"

namespace cli {

// The device's last answer in this verify, or null when it has not answered.
using LastAnswer = std::function<const IpSettings*(const MacAddress&)>;

// How many of `expected` show the settings they were asked for, and the
// first that does not yet; `left` is the time the verify has left.
VerifyProgress CountAnswered(const std::vector<ChangeRequest>& expected,
                             const LastAnswer& lastAnswer,
                             std::chrono::milliseconds left);

}  // namespace cli
