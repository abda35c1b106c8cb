// The datagrams of the flood: junk, forged search replies and search
// requests.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace flood {

using Random = std::mt19937_64;

// The largest datagram that fits an Ethernet frame unfragmented.
constexpr std::size_t MAX_JUNK_SIZE = 1500;

// 0 to MAX_JUNK_SIZE random bytes, never a discovery datagram: junk must not
// be counted as a request or a reply by whoever hears it.
std::vector<std::uint8_t> Junk(Random& random);

// A 96-byte search reply from the `index`th forged device: a MAC address of
// its own (locally administered, so no real device has it) and a random
// address in 10.200.0.0/16.
std::vector<std::uint8_t> ForgedReply(std::uint32_t index, Random& random);

std::vector<std::uint8_t> SearchRequest();

}  // namespace flood
