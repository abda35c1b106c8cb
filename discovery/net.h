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
constexpr Socket kNoSocket = -1;

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
// Waits until `socket` is readable or `wake` (kNoSocket for none) receives a
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
};
AdapterList ListAdapters();

}  // namespace net
