// The one seam between the discovery code and the platform's sockets:
// Winsock in net_win.cpp, BSD sockets in net_posix.cpp. Addresses cross it
// in the numeric form of the datagrams (a << 24 | b << 16 | c << 8 | d) and
// ports in host order, so callers never see a sockaddr.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
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
// The receive buffer the system gave the socket, in bytes as it counts them
// (Linux counts its bookkeeping too, and reports twice what was granted);
// 0 when it does not say.
int ReceiveBufferSize(Socket socket);
bool Bind(Socket socket, Endpoint local);
bool LocalEndpoint(Socket socket, Endpoint* local);
bool SendTo(Socket socket, const std::uint8_t* data, std::size_t size,
            Endpoint to);

enum class WaitResult { Readable, Woken, TimedOut, Failed };
// Waits until `socket` is readable or `wake` (NO_SOCKET for none) receives a
// datagram, for at most timeoutMs milliseconds. A wake datagram is consumed.
WaitResult WaitReadable(Socket socket, Socket wake, int timeoutMs);
// Waits until any of `sockets` is readable (Readable), for at most timeoutMs
// milliseconds; nothing is consumed. A program that serves two ports waits
// on both at once this way.
WaitResult WaitAnyReadable(const std::vector<Socket>& sockets, int timeoutMs);

// Joins the multicast group `group` on the interface with the system's index
// `interfaceIndex` (as Adapter::index gives it), so that the socket
// hears what is sent to the group on that link.
bool JoinMulticast(Socket socket, std::uint32_t group,
                   std::uint32_t interfaceIndex);

// Asks the system to say, with each datagram the socket receives, which
// local interface it arrived on (IP_PKTINFO): one host may reach several
// broadcast domains, and the same factory address may answer on each.
bool EnablePacketInfo(Socket socket);

// Multicast datagrams the socket sends leave through the adapter with this
// local address (IP_MULTICAST_IF) rather than the one the routes pick: a
// multicast probe must go out on every adapter, one after another.
bool SetMulticastInterface(Socket socket, std::uint32_t localAddress);

// Asks the system to say, with each datagram the socket receives, how many
// datagrams it has dropped for the socket so far because its receive buffer
// was full (Linux's SO_RXQ_OVFL). False where the system cannot tell.
bool EnableDropCount(Socket socket);

// Where a received datagram came from, and the local interface it came in on.
struct Arrival {
  Endpoint from;
  // The system's index of that interface, as Adapter::index gives it;
  // 0 when unknown (the socket was not given EnablePacketInfo).
  std::uint32_t interfaceIndex = 0;
  // The datagrams dropped for the socket before this one arrived, counted
  // from the socket's opening; 0 as well when none was dropped or the
  // socket was not given EnableDropCount.
  std::uint32_t droppedBefore = 0;
};

// Receives one datagram into `buffer`. Returns its size, or -1 when the
// receive failed or the datagram was longer than `capacity`: such a datagram
// is dropped, never cut short.
int ReceiveFrom(Socket socket, std::uint8_t* buffer, std::size_t capacity,
                Arrival* arrival);

// Restricts a socket to one interface, named as the system names it, for
// what it receives and what it sends (SO_BINDTODEVICE), so that one program
// can serve one broadcast domain of several.
enum class InterfaceBinding { Bound, Failed, Unsupported };
InterfaceBinding BindToInterface(Socket socket, const std::string& name);

// One local IPv4 adapter. One without an address has address 0.
struct Adapter {
  std::uint32_t address = 0;
  // The subnet mask of the address (0 with no address), so that a device's
  // address can be told to lie in an adapter's subnet or not.
  std::uint32_t mask = 0;
  // The system's interface index, which Arrival::interfaceIndex names.
  std::uint32_t index = 0;
  // The interface's name where the system has short ones ("eth0.100"); empty
  // on Windows.
  std::string name{};
};

// The local IPv4 adapters in a stable order, loopback excluded.
struct AdapterList {
  enum class Status { Ok, NoMemory, NoAdapters, Failed };
  Status status = Status::Ok;
  long error = 0;
  std::vector<Adapter> adapters;
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
                   Arrival* arrival);

}  // namespace net
