#include "core/engine/local_adapters.h"

std::vector<LocalAdapter> LocalAdapters() {
  std::vector<LocalAdapter> local;
  for (const net::Adapter& adapter : net::ListAdapters().adapters)
    if (adapter.address != 0) local.push_back(adapter);
  return local;
}

std::vector<std::uint32_t> AddressesOf(const std::vector<LocalAdapter>& local) {
  std::vector<std::uint32_t> addresses;
  for (const LocalAdapter& adapter : local)
    addresses.push_back(adapter.address);
  return addresses;
}
