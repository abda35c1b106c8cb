// Finding the owner of the discovery port in a system's table of IPv4 UDP
// endpoints. Pure: the platform readers fill the rows.
#pragma once

#include <cstdint>
#include <vector>

struct UdpEndpointRow {
  std::uint32_t localAddress = 0;
  // The port in network byte order in the low 16 bits, as the system's
  // table holds it when read as a little-endian number.
  std::uint32_t localPortField = 0;
  std::int32_t owningPid = 0;
};

std::uint16_t PortFromField(std::uint32_t localPortField);

// The owner of the last row on `port`, in table order; 0 when none is.
std::int32_t FindPortOwner(const std::vector<UdpEndpointRow>& rows,
                           std::uint16_t port);
