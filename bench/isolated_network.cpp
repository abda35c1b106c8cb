#include "bench/isolated_network.h"

#include <cstdio>

#include "core/engine/net.h"

bool OnIsolatedTestNetwork(std::string* why) {
  const net::AdapterList adapters = net::ListAdapters();
  if (adapters.status != net::AdapterList::Status::Ok) {
    *why = "no adapter list: run through scripts/bench.sh";
    return false;
  }
  for (const net::Adapter& adapter : adapters.adapters) {
    const std::uint32_t address = adapter.address;
    const std::uint32_t net16 = address >> 16;
    if (address != 0 && net16 != 0x0A4Du && net16 != 0x0A4Eu) {
      char text[96];
      std::snprintf(text, sizeof text,
                    "refusing: adapter %u.%u.%u.%u is not a private test link",
                    address >> 24, (address >> 16) & 0xFF,
                    (address >> 8) & 0xFF, address & 0xFF);
      *why = text;
      return false;
    }
  }
  return true;
}
