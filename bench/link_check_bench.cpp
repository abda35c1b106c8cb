// What the link check of planned addresses costs an apply: COUNT addresses
// of the adapter's subnet, from just above its own address, probed 64 at a
// time as the apply probes them (one datagram each, one 400 ms wait and one
// read of the neighbour table a batch). Run it in a private namespace.
//
//   quellan-bench-link-check ADAPTER COUNT
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/protocol/datagram.h"
#include "platform/neighbour_table.h"

int main(int argc, char** argv) {
  std::uint32_t adapter = 0;
  if (argc != 3 || !ParseAddress(argv[1], &adapter)) {
    std::fprintf(stderr, "usage: quellan-bench-link-check ADAPTER COUNT\n");
    return 2;
  }
  const long count = std::atol(argv[2]);
  constexpr long BATCH = 64;  // the apply's LINK_CHECK_BATCH
  const auto start = std::chrono::steady_clock::now();
  long held = 0, free = 0, unchecked = 0, batches = 0;
  for (long from = 0; from < count; from += BATCH, ++batches) {
    std::vector<std::uint32_t> batch;
    for (long i = from; i < count && i < from + BATCH; ++i)
      batch.push_back(adapter + 1 + static_cast<std::uint32_t>(i));
    for (const AddressCheck& check :
         ProbeAddresses(adapter, batch, std::chrono::milliseconds(400))) {
      held += check.use == AddressUse::Held;
      free += check.use == AddressUse::Free;
      unchecked += check.use == AddressUse::NotChecked;
    }
  }
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
          .count();
  std::printf(
      "%ld addresses in %ld batches: %.1f s wall; %ld held, %ld free, "
      "%ld not checked\n",
      count, batches, wall, held, free, unchecked);
  return 0;
}
