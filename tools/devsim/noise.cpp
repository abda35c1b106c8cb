#include "tools/devsim/noise.h"

#include <cstring>
#include <iterator>
#include <random>

#include "core/protocol/datagram.h"
#include "tools/devsim/events.h"

namespace devsim {
namespace {

constexpr std::uint32_t FOREIGN_MAGIC = 0x5A5AC3C3u;

struct WrongHeader {
  std::uint32_t magic;
  std::uint32_t command;
};

// Each pairs a right magic with a wrong command or the other way round; the
// last entry leaves the random bytes as they are.
const WrongHeader WRONG_HEADERS[] = {
    {REPLY_MAGIC, CMD_SEARCH},         {REQUEST_MAGIC, CMD_SEARCH_REPLY},
    {FOREIGN_MAGIC, CMD_SEARCH_REPLY}, {REPLY_MAGIC, CMD_CHANGE_IP},
    {REQUEST_MAGIC, 0x0503u},          {0, 0},
};

// The sizes junk cycles through, the awkward ones first.
const std::size_t NOISE_SIZES[] = {0, 1,  23, 95, 97,  300,
                                   7, 24, 64, 96, 256, 257};

}  // namespace

bool LooksMeaningful(const std::vector<std::uint8_t>& datagram) {
  return std::strcmp(DatagramKind(datagram.data(), datagram.size()), "other") !=
         0;
}

std::vector<std::uint8_t> MakeNoise(std::uint64_t key, std::uint32_t index) {
  std::mt19937_64 random(key * 0x9E3779B97F4A7C15ull + index);
  std::vector<std::uint8_t> datagram(
      NOISE_SIZES[index % std::size(NOISE_SIZES)]);
  for (std::uint8_t& byte : datagram) {
    byte = static_cast<std::uint8_t>(random());
  }
  const WrongHeader& header = WRONG_HEADERS[index % std::size(WRONG_HEADERS)];
  if (header.magic != 0) {
    std::uint8_t words[8];
    WriteU32(words, header.magic);
    WriteU32(words + 4, header.command);
    for (std::size_t i = 0; i < 8 && i < datagram.size(); ++i) {
      datagram[i] = words[i];
    }
  }
  if (LooksMeaningful(datagram)) datagram[4] ^= 0xFF;
  return datagram;
}

}  // namespace devsim
