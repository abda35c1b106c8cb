// This computer's own IPv4 adapters that have an address: which subnets it
// reaches, and which addresses no device may be given.
#pragma once

#include <cstdint>
#include <vector>

#include "core/engine/net.h"

// An adapter of this computer that has an address.
using LocalAdapter = net::Adapter;

// In the engine's order; loopback and adapters without an address are left
// out.
std::vector<LocalAdapter> LocalAdapters();
std::vector<std::uint32_t> AddressesOf(const std::vector<LocalAdapter>& local);
