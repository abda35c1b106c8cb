// Winsock and the IP Helper behind the discovery seam.
// winsock2.h must come before the headers that build on it.
#include <winsock2.h>

#include <iphlpapi.h>
#include <mswsock.h>
#include <ws2tcpip.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "core/engine/net.h"
#include "platform/socket_address.h"

namespace net {
namespace {

SOCKET Handle(Socket socket) { return static_cast<SOCKET>(socket); }

// The numeric form of a dotted text, 0 when it is none. inet_pton rather than
// inet_addr, which cannot tell the mask 255.255.255.255 from an error.
std::uint32_t AddressOf(const char* text) {
  in_addr address{};
  if (inet_pton(AF_INET, text, &address) != 1) return 0;
  return ntohl(address.s_addr);
}

bool SetIntOption(Socket socket, int level, int name, int value) {
  return setsockopt(Handle(socket), level, name,
                    reinterpret_cast<const char*>(&value), sizeof value) == 0;
}

// WSARecvMsg is an extension that Winsock hands out only through an ioctl on
// a socket. It is the same function for every UDP socket, and the ioctl is a
// round trip to the wine server under Wine, so it is asked for once.
std::atomic<LPFN_WSARECVMSG> receiveMessage{nullptr};

void LookUpReceiveMessage(Socket socket) {
  if (receiveMessage.load()) return;
  GUID id = WSAID_WSARECVMSG;
  LPFN_WSARECVMSG function = nullptr;
  DWORD bytes = 0;
  if (WSAIoctl(Handle(socket), SIO_GET_EXTENSION_FUNCTION_POINTER, &id,
               sizeof id, &function, sizeof function, &bytes, nullptr,
               nullptr) == 0)
    receiveMessage.store(function);
}

// recvfrom, while no socket of the process has asked for packet information.
int ReceivePlain(Socket socket, std::uint8_t* buffer, std::size_t capacity,
                 Arrival* arrival) {
  sockaddr_in address{};
  int length = sizeof address;
  // Winsock fails the receive (WSAEMSGSIZE) for a datagram longer than the
  // buffer, so an oversized one never comes back cut short.
  const int size = ::recvfrom(Handle(socket), reinterpret_cast<char*>(buffer),
                              static_cast<int>(capacity), 0,
                              reinterpret_cast<sockaddr*>(&address), &length);
  if (size == SOCKET_ERROR) return -1;
  if (arrival) *arrival = {ToEndpoint(address), 0, 0};
  return size;
}

}  // namespace

bool Startup() {
  WSADATA data;
  return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

void Cleanup() { WSACleanup(); }

Socket OpenUdp() {
  const SOCKET handle = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  return handle == INVALID_SOCKET ? NO_SOCKET : static_cast<Socket>(handle);
}

void Close(Socket socket) {
  if (socket != NO_SOCKET) closesocket(Handle(socket));
}

bool EnableBroadcast(Socket socket) {
  return SetIntOption(socket, SOL_SOCKET, SO_BROADCAST, 1);
}

bool EnableAddressReuse(Socket socket) {
  return SetIntOption(socket, SOL_SOCKET, SO_REUSEADDR, 1);
}

bool SetReceiveBuffer(Socket socket, int bytes) {
  return SetIntOption(socket, SOL_SOCKET, SO_RCVBUF, bytes);
}

int ReceiveBufferSize(Socket socket) {
  int bytes = 0;
  int length = sizeof bytes;
  if (getsockopt(Handle(socket), SOL_SOCKET, SO_RCVBUF,
                 reinterpret_cast<char*>(&bytes), &length) != 0)
    return 0;
  return bytes;
}

bool Bind(Socket socket, Endpoint local) {
  const sockaddr_in address = ToSockaddr(local);
  return ::bind(Handle(socket), reinterpret_cast<const sockaddr*>(&address),
                sizeof address) == 0;
}

bool LocalEndpoint(Socket socket, Endpoint* local) {
  sockaddr_in address{};
  int length = sizeof address;
  if (getsockname(Handle(socket), reinterpret_cast<sockaddr*>(&address),
                  &length) != 0)
    return false;
  *local = ToEndpoint(address);
  return true;
}

bool SendTo(Socket socket, const std::uint8_t* data, std::size_t size,
            Endpoint to) {
  const sockaddr_in address = ToSockaddr(to);
  return ::sendto(Handle(socket), reinterpret_cast<const char*>(data),
                  static_cast<int>(size), 0,
                  reinterpret_cast<const sockaddr*>(&address),
                  sizeof address) == static_cast<int>(size);
}

WaitResult WaitReadable(Socket socket, Socket wake, int timeoutMs) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(Handle(socket), &readable);
  if (wake != NO_SOCKET) FD_SET(Handle(wake), &readable);
  timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  const int ready = ::select(0, &readable, nullptr, nullptr, &timeout);
  if (ready == SOCKET_ERROR) return WaitResult::Failed;
  if (ready == 0) return WaitResult::TimedOut;
  if (wake != NO_SOCKET && FD_ISSET(Handle(wake), &readable)) {
    char drain[16];
    ::recv(Handle(wake), drain, sizeof drain, 0);
    return WaitResult::Woken;
  }
  return WaitResult::Readable;
}

WaitResult WaitAnyReadable(const std::vector<Socket>& sockets, int timeoutMs) {
  fd_set readable;
  FD_ZERO(&readable);
  for (Socket socket : sockets) FD_SET(Handle(socket), &readable);
  timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  const int ready = ::select(0, &readable, nullptr, nullptr, &timeout);
  if (ready == SOCKET_ERROR) return WaitResult::Failed;
  return ready == 0 ? WaitResult::TimedOut : WaitResult::Readable;
}

bool JoinMulticast(Socket socket, std::uint32_t group,
                   std::uint32_t interfaceIndex) {
  // Winsock takes an address in 0.0.0.0/8 as the interface's index, but Wine
  // hands that on to Linux as an address, which no interface has: the
  // adapter's own address names it on both, the index form serves an
  // adapter without one.
  std::uint32_t local = interfaceIndex;
  for (const Adapter& adapter : ListAdapters().adapters) {
    if (adapter.index == interfaceIndex && adapter.address != 0)
      local = adapter.address;
  }
  ip_mreq request{};
  request.imr_multiaddr.s_addr = htonl(group);
  request.imr_interface.s_addr = htonl(local);
  return setsockopt(Handle(socket), IPPROTO_IP, IP_ADD_MEMBERSHIP,
                    reinterpret_cast<const char*>(&request),
                    sizeof request) == 0;
}

bool EnablePacketInfo(Socket socket) {
  LookUpReceiveMessage(socket);
  return receiveMessage.load() &&
         SetIntOption(socket, IPPROTO_IP, IP_PKTINFO, 1);
}

bool SetMulticastInterface(Socket socket, std::uint32_t localAddress) {
  in_addr address{};
  address.s_addr = htonl(localAddress);
  return setsockopt(Handle(socket), IPPROTO_IP, IP_MULTICAST_IF,
                    reinterpret_cast<const char*>(&address),
                    sizeof address) == 0;
}

bool EnableDropCount(Socket) {
  // Winsock keeps no count of what it dropped for a socket.
  return false;
}

int ReceiveFrom(Socket socket, std::uint8_t* buffer, std::size_t capacity,
                Arrival* arrival) {
  const LPFN_WSARECVMSG receive = receiveMessage.load();
  if (!receive) return ReceivePlain(socket, buffer, capacity, arrival);
  sockaddr_in address{};
  WSABUF data{static_cast<ULONG>(capacity), reinterpret_cast<char*>(buffer)};
  // The packet information carries only the destination (255.255.255.255
  // for a broadcast) and the interface index.
  alignas(WSACMSGHDR) char control[WSA_CMSG_SPACE(sizeof(IN_PKTINFO))];
  WSAMSG message{};
  message.name = reinterpret_cast<sockaddr*>(&address);
  message.namelen = sizeof address;
  message.lpBuffers = &data;
  message.dwBufferCount = 1;
  message.Control = {sizeof control, control};
  DWORD size = 0;
  // An oversized datagram fails (WSAEMSGSIZE) or comes back marked cut
  // short: either way it is dropped.
  if (receive(Handle(socket), &message, &size, nullptr, nullptr) != 0 ||
      (message.dwFlags & MSG_TRUNC))
    return -1;
  if (arrival) {
    arrival->from = ToEndpoint(address);
    arrival->interfaceIndex = 0;
    arrival->droppedBefore = 0;
    for (WSACMSGHDR* item = WSA_CMSG_FIRSTHDR(&message); item;
         item = WSA_CMSG_NXTHDR(&message, item)) {
      if (item->cmsg_level != IPPROTO_IP || item->cmsg_type != IP_PKTINFO)
        continue;
      IN_PKTINFO info;
      std::memcpy(&info, WSA_CMSG_DATA(item), sizeof info);
      arrival->interfaceIndex = static_cast<std::uint32_t>(info.ipi_ifindex);
    }
  }
  return static_cast<int>(size);
}

InterfaceBinding BindToInterface(Socket, const std::string&) {
  // Winsock has no binding to an interface by name.
  return InterfaceBinding::Unsupported;
}

AdapterList ListAdapters() {
  AdapterList list;
  ULONG size = 0;
  IP_ADAPTER_INFO* adapters = nullptr;
  if (GetAdaptersInfo(nullptr, &size) == ERROR_BUFFER_OVERFLOW) {
    adapters = static_cast<IP_ADAPTER_INFO*>(std::malloc(size));
    if (!adapters) {
      list.status = AdapterList::Status::NoMemory;
      return list;
    }
  }
  const DWORD result = GetAdaptersInfo(adapters, &size);
  if (result != NO_ERROR) {
    list.status = result == ERROR_NO_DATA ? AdapterList::Status::NoAdapters
                                          : AdapterList::Status::Failed;
    list.error = static_cast<long>(result);
    std::free(adapters);
    return list;
  }
  // The address comes from the entry's text: the Context member that would
  // hold it is 0 under Wine, which would leave every adapter without one.
  for (const IP_ADAPTER_INFO* adapter = adapters; adapter;
       adapter = adapter->Next) {
    const std::uint32_t address =
        AddressOf(adapter->IpAddressList.IpAddress.String);
    list.adapters.push_back(
        {address,
         address == 0 ? 0 : AddressOf(adapter->IpAddressList.IpMask.String),
         adapter->Index});
  }
  std::free(adapters);
  return list;
}

bool EnableNonBlocking(Socket socket) {
  u_long on = 1;
  return ioctlsocket(Handle(socket), FIONBIO, &on) == 0;
}

int ReceiveWaiting(Socket socket, std::uint8_t* buffer, std::size_t capacity,
                   Arrival* arrival) {
  // A datagram marked cut short fails without an error code: a stale
  // WSAEWOULDBLOCK must not end the draining early.
  WSASetLastError(0);
  const int size = ReceiveFrom(socket, buffer, capacity, arrival);
  if (size < 0 && WSAGetLastError() == WSAEWOULDBLOCK) return NOTHING_WAITING;
  return size;
}

}  // namespace net
