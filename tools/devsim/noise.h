// Junk datagrams that a receiver must ignore: odd sizes, and headers whose
// magic and command never form a request or a search reply.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace devsim {

// The sizes junk cycles through, the awkward ones first.
extern const std::size_t NOISE_SIZES[];
extern const std::size_t NOISE_SIZE_COUNT;

// Junk number `index` of a search; the same key and index give the same bytes.
std::vector<std::uint8_t> MakeNoise(std::uint64_t key, std::uint32_t index);

// True when the first eight bytes are a search reply, a search request or a
// change request: what junk must never be.
bool LooksMeaningful(const std::vector<std::uint8_t>& datagram);

}  // namespace devsim
