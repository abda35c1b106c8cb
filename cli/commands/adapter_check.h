// --adapter names one of this computer's addresses. A mistyped one is
// answered with those it has, before any socket is opened.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/engine/local_adapters.h"

namespace cli {

// Empty when `adapter` is 0 (every adapter) or one of `local`'s addresses;
// otherwise the message that says so and lists the addresses there are.
std::string UnknownAdapterText(std::uint32_t adapter,
                               const std::vector<LocalAdapter>& local);

}  // namespace cli
