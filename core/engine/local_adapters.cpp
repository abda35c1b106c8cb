#include "core/engine/local_adapters.h"

#include "core/engine/net.h"

std::vector<LocalAdapter> LocalAdapters() {
  const net::AdapterList adapters = net::ListAdapters();
  std::vector<LocalAdapter> local;
  for (std::size_t i = 0; i < adapters.addresses.size(); ++i) {
    if (adapters.addresses[i] != 0)
      local.push_back({adapters.addresses[i], adapters.masks[i],
                       adapters.indexes[i], adapters.names[i]});
  }
  return local;
}

std::vector<std::uint32_t> AddressesOf(const std::vector<LocalAdapter>& local) {
  std::vector<std::uint32_t> addresses;
  for (const LocalAdapter& adapter : local)
    addresses.push_back(adapter.address);
  return addresses;
}
