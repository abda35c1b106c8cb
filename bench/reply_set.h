// Search replies from many different devices, as receive buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

using ReceiveBuffer = std::vector<std::uint8_t>;

// `count` zero-filled 256-byte buffers, each a 96-byte search reply from its
// own MAC and IP address, in a shuffled but fixed order of addresses so that
// the rows they make are not already sorted.
std::vector<ReceiveBuffer> DistinctReplies(std::size_t count);
