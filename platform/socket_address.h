// An endpoint as the socket address that Winsock and BSD sockets share, and
// back: host order in the endpoint, network order in the address. Included by
// the socket code of each platform after its own socket headers.
#pragma once

#include <cstdint>

#include "core/engine/net.h"

namespace net {

inline sockaddr_in ToSockaddr(Endpoint endpoint) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(endpoint.address);
  address.sin_port = htons(endpoint.port);
  return address;
}

inline Endpoint ToEndpoint(const sockaddr_in& address) {
  return {ntohl(address.sin_addr.s_addr),
          static_cast<std::uint16_t>(ntohs(address.sin_port))};
}

}  // namespace net
