// This computer's own IPv4 adapters that have an address: which subnets it
// reaches, and which addresses no device may be given.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct LocalAdapter {
  std::uint32_t address = 0;  // numeric form
  std::uint32_t mask = 0;
  // The system's interface index, which the engine gives with each datagram
  // that arrived through this adapter.
  std::uint32_t index = 0;
  std::string name{};  // "eth0.100"; empty on Windows
};

// In the engine's order; loopback and adapters without an address are left
// out.
std::vector<LocalAdapter> LocalAdapters();
std::vector<std::uint32_t> AddressesOf(const std::vector<LocalAdapter>& local);
