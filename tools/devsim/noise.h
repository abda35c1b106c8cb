// Junk datagrams that a receiver must ignore: odd sizes, and headers whose
// magic and command never form a request or a search reply.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace devsim {

// Junk number `index` of a search; the same key and index give the same bytes.
std::vector<std::uint8_t> MakeNoise(std::uint64_t key, std::uint32_t index);

// True when the first eight bytes are a search reply, a search request or a
// change request: what junk must never be.
bool LooksMeaningful(const std::vector<std::uint8_t>& datagram);

}  // namespace devsim
