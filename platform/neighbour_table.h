// The system's IPv4 neighbour table (its ARP cache), and a probe that makes
// the system resolve addresses so that the table tells which of them
// something on the link already holds. Addresses cross this seam in the
// numeric form of the datagrams (a << 24 | b << 16 | c << 8 | d).
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "core/protocol/datagram.h"

struct Neighbour {
  std::uint32_t address = 0;
  MacAddress mac{};
  // The system's index of the interface the entry belongs to, as
  // net::ListAdapters gives it; 0 when that interface has gone since.
  std::uint32_t interfaceIndex = 0;
};

// Only entries with a link-layer address: one still being resolved, or one
// that failed to resolve, says nothing about who holds the address.
struct NeighbourTable {
  enum class Status { Read, Failed };
  Status status = Status::Failed;
  long error = 0;  // the system's error code when Failed
  std::vector<Neighbour> entries;
};

NeighbourTable ReadNeighbours();

enum class AddressUse {
  Held,  // something on the adapter's link answered for it
  Free,  // nothing did within the wait
  // The probe could not be sent, the table could not be read, or the address
  // does not lie on the adapter's link, where the check means nothing.
  NotChecked,
};

// What the probe found at one address.
struct AddressCheck {
  AddressUse use = AddressUse::NotChecked;
  // With Held, the MAC the table holds for the address (zero for this
  // computer's own): a device that has just left it may still be named.
  MacAddress holder{};
};

// Sends one small datagram to each address from the adapter whose local
// address is `adapterAddress`, so that the system resolves them, waits `wait`
// once for the whole batch (a few hundred milliseconds is enough on a LAN),
// and reads the neighbour table once. One answer per address, in order. The
// adapter's own address counts as Held; when `adapterAddress` is not one of
// this computer's, every address is NotChecked.
std::vector<AddressCheck> ProbeAddresses(
    std::uint32_t adapterAddress, const std::vector<std::uint32_t>& addresses,
    std::chrono::milliseconds wait);
