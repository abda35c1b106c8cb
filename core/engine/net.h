// The one seam between the discovery code and the platform's sockets:
// Winsock in net_win.cpp, BSD sockets in net_posix.cpp. Addresses cross it
// in the numeric form of the datagrams (a << 24 | b << 16 | c << 8 | d) and
// ports in host order, so callers never see a sockaddr.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace net {

using Socket = std::intptr_t;
constexpr Socket NO_SOCKET = -1;

struct Endpoint {
  std::uint32_t address = 0;
  std::uint16_t port = 0;
};

// Windows Sockets start-up and clean-up; nothing to do elsewhere.
bool Startup();
void Cleanup();

Socket OpenUdp();
void Close(Socket socket);
bool EnableBroadcast(Socket socket);
bool EnableAddressReuse(Socket socket);
bool SetReceiveBuffer(Socket socket, int bytes);
bool Bind(Socket socket, Endpoint local);
bool LocalEndpoint(Socket socket, Endpoint* local);
bool SendTo(Socket socket, const std::uint8_t* data, std::size_t size,
            Endpoint to);

enum class WaitResult { Readable, Woken, TimedOut, Failed };
// Waits until `socket` is readable or `wake` (NO_SOCKET for none) receives a
// datagram, for at most timeoutMs milliseconds. A wake datagram is consumed.
WaitResult WaitReadable(Socket socket, Socket wake, int timeoutMs);

// Receives one datagram into `buffer`. Returns its size, or -1 when the
// receive failed or the datagram was longer than `capacity`: such a datagram
// is dropped, never cut short.
int ReceiveFrom(Socket socket, std::uint8_t* buffer, std::size_t capacity,
                Endpoint* from);

// The local IPv4 adapters in a stable order, loopback excluded. An adapter
// without an address is listed with address 0.
struct AdapterList {
  enum class Status { Ok, NoMemory, NoAdapters, Failed };
  Status status = Status::Ok;
  long error = 0;
  std::vector<std::uint32_t> addresses;
  // masks[i] is the subnet mask of addresses[i] (0 with no address), so that
  // a device's address can be told to lie in an adapter's subnet or not.
  std::vector<std::uint32_t> masks;
};
AdapterList ListAdapters();

// A socket whose receives return at once when nothing has arrived, so that a
// burst is drained without one wait per datagram (under Wine each wait and
// each receive is a round trip to the wine server).
bool EnableNonBlocking(Socket socket);

// What ReceiveWaiting returns when no datagram has arrived.
constexpr int NOTHING_WAITING = -2;
// Receives one datagram that has already arrived, from a socket given to
// EnableNonBlocking, without waiting. Returns its size, NOTHING_WAITING, or
// -1 as ReceiveFrom does for a failed receive or an oversized datagram.
int ReceiveWaiting(Socket socket, std::uint8_t* buffer, std::size_t capacity,
                   Endpoint* from);

}  // namespace net
