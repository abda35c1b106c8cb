#include "core/engine/port_owner.h"

std::uint16_t PortFromField(std::uint32_t localPortField) {
  return static_cast<std::uint16_t>(((localPortField & 0xFFu) << 8) |
                                    ((localPortField >> 8) & 0xFFu));
}

std::int32_t FindPortOwner(const std::vector<UdpEndpointRow>& rows,
                           std::uint16_t port) {
  std::int32_t owner = 0;
  for (const UdpEndpointRow& row : rows)
    if (PortFromField(row.localPortField) == port) owner = row.owningPid;
  return owner;
}
