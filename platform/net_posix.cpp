// BSD sockets behind the discovery seam.
#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "core/engine/net.h"
#include "platform/socket_address.h"

namespace net {
namespace {

int Fd(Socket socket) { return static_cast<int>(socket); }

bool SetIntOption(Socket socket, int level, int name, int value) {
  return setsockopt(Fd(socket), level, name, &value, sizeof value) == 0;
}

}  // namespace

bool Startup() { return true; }
void Cleanup() {}

Socket OpenUdp() {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
  return fd < 0 ? NO_SOCKET : fd;
}

void Close(Socket socket) {
  if (socket != NO_SOCKET) ::close(Fd(socket));
}

bool EnableBroadcast(Socket socket) {
  return SetIntOption(socket, SOL_SOCKET, SO_BROADCAST, 1);
}

bool EnableAddressReuse(Socket socket) {
  return SetIntOption(socket, SOL_SOCKET, SO_REUSEADDR, 1);
}

bool SetReceiveBuffer(Socket socket, int bytes) {
  // The forced variant passes the system-wide cap when we may; the plain one
  // is the fallback for unprivileged runs.
  return SetIntOption(socket, SOL_SOCKET, SO_RCVBUFFORCE, bytes) ||
         SetIntOption(socket, SOL_SOCKET, SO_RCVBUF, bytes);
}

int ReceiveBufferSize(Socket socket) {
  int bytes = 0;
  socklen_t length = sizeof bytes;
  if (getsockopt(Fd(socket), SOL_SOCKET, SO_RCVBUF, &bytes, &length) != 0)
    return 0;
  return bytes;
}

bool Bind(Socket socket, Endpoint local) {
  const sockaddr_in address = ToSockaddr(local);
  return ::bind(Fd(socket), reinterpret_cast<const sockaddr*>(&address),
                sizeof address) == 0;
}

bool LocalEndpoint(Socket socket, Endpoint* local) {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  if (getsockname(Fd(socket), reinterpret_cast<sockaddr*>(&address), &length) !=
      0)
    return false;
  *local = ToEndpoint(address);
  return true;
}

bool SendTo(Socket socket, const std::uint8_t* data, std::size_t size,
            Endpoint to) {
  const sockaddr_in address = ToSockaddr(to);
  return ::sendto(Fd(socket), data, size, 0,
                  reinterpret_cast<const sockaddr*>(&address),
                  sizeof address) == static_cast<ssize_t>(size);
}

WaitResult WaitReadable(Socket socket, Socket wake, int timeoutMs) {
  pollfd fds[2] = {{Fd(socket), POLLIN, 0}, {Fd(wake), POLLIN, 0}};
  const nfds_t count = wake == NO_SOCKET ? 1 : 2;
  const int ready = ::poll(fds, count, timeoutMs);
  if (ready < 0)
    return errno == EINTR ? WaitResult::TimedOut : WaitResult::Failed;
  if (ready == 0) return WaitResult::TimedOut;
  if (count == 2 && (fds[1].revents & POLLIN)) {
    std::uint8_t drain[16];
    while (::recv(Fd(wake), drain, sizeof drain, MSG_DONTWAIT) > 0) {
    }
    return WaitResult::Woken;
  }
  if (fds[0].revents & (POLLERR | POLLNVAL)) return WaitResult::Failed;
  return WaitResult::Readable;
}

WaitResult WaitAnyReadable(const std::vector<Socket>& sockets, int timeoutMs) {
  std::vector<pollfd> fds;
  for (Socket socket : sockets) fds.push_back({Fd(socket), POLLIN, 0});
  const int ready = ::poll(fds.data(), fds.size(), timeoutMs);
  if (ready < 0)
    return errno == EINTR ? WaitResult::TimedOut : WaitResult::Failed;
  if (ready == 0) return WaitResult::TimedOut;
  for (const pollfd& fd : fds) {
    if (fd.revents & (POLLERR | POLLNVAL)) return WaitResult::Failed;
  }
  return WaitResult::Readable;
}

bool JoinMulticast(Socket socket, std::uint32_t group,
                   std::uint32_t interfaceIndex) {
  // ip_mreqn names the interface by index, which an interface without an
  // address has too.
  ip_mreqn request{};
  request.imr_multiaddr.s_addr = htonl(group);
  request.imr_ifindex = static_cast<int>(interfaceIndex);
  return setsockopt(Fd(socket), IPPROTO_IP, IP_ADD_MEMBERSHIP, &request,
                    sizeof request) == 0;
}

bool EnablePacketInfo(Socket socket) {
  return SetIntOption(socket, IPPROTO_IP, IP_PKTINFO, 1);
}

bool SetMulticastInterface(Socket socket, std::uint32_t localAddress) {
  in_addr address{};
  address.s_addr = htonl(localAddress);
  return setsockopt(Fd(socket), IPPROTO_IP, IP_MULTICAST_IF, &address,
                    sizeof address) == 0;
}

bool EnableDropCount(Socket socket) {
  return SetIntOption(socket, SOL_SOCKET, SO_RXQ_OVFL, 1);
}

int ReceiveFrom(Socket socket, std::uint8_t* buffer, std::size_t capacity,
                Arrival* arrival) {
  sockaddr_in address{};
  iovec data{buffer, capacity};
  // Room for both items a datagram may carry: a control buffer too small for
  // one loses it (MSG_CTRUNC).
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo)) +
                                CMSG_SPACE(sizeof(std::uint32_t))];
  msghdr message{};
  message.msg_name = &address;
  message.msg_namelen = sizeof address;
  message.msg_iov = &data;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  // MSG_TRUNC makes Linux report the datagram's real size, so an oversized
  // one is recognised and dropped instead of being handed on cut short.
  const ssize_t size =
      ::recvmsg(Fd(socket), &message, MSG_TRUNC | MSG_DONTWAIT);
  if (size < 0 || static_cast<std::size_t>(size) > capacity) return -1;
  if (arrival) {
    arrival->from = ToEndpoint(address);
    arrival->interfaceIndex = 0;
    // Linux adds the drop count only once it is above 0.
    arrival->droppedBefore = 0;
    for (cmsghdr* item = CMSG_FIRSTHDR(&message); item;
         item = CMSG_NXTHDR(&message, item)) {
      if (item->cmsg_level == IPPROTO_IP && item->cmsg_type == IP_PKTINFO) {
        in_pktinfo info;
        std::memcpy(&info, CMSG_DATA(item), sizeof info);
        arrival->interfaceIndex = static_cast<std::uint32_t>(info.ipi_ifindex);
      } else if (item->cmsg_level == SOL_SOCKET &&
                 item->cmsg_type == SO_RXQ_OVFL) {
        std::memcpy(&arrival->droppedBefore, CMSG_DATA(item),
                    sizeof arrival->droppedBefore);
      }
    }
  }
  return static_cast<int>(size);
}

InterfaceBinding BindToInterface(Socket socket, const std::string& name) {
  return setsockopt(Fd(socket), SOL_SOCKET, SO_BINDTODEVICE, name.c_str(),
                    static_cast<socklen_t>(name.size())) == 0
             ? InterfaceBinding::Bound
             : InterfaceBinding::Failed;
}

AdapterList ListAdapters() {
  AdapterList list;
  ifaddrs* all = nullptr;
  if (getifaddrs(&all) != 0) {
    list.status = AdapterList::Status::Failed;
    list.error = errno;
    return list;
  }
  // getifaddrs lists an interface once per address family; keep the order of
  // first appearance and the first IPv4 address of each.
  for (const ifaddrs* entry = all; entry; entry = entry->ifa_next) {
    if (!(entry->ifa_flags & IFF_UP) || (entry->ifa_flags & IFF_LOOPBACK))
      continue;
    std::size_t index = 0;
    while (index < list.adapters.size() &&
           list.adapters[index].name != entry->ifa_name)
      ++index;
    if (index == list.adapters.size()) {
      list.adapters.push_back(
          {0, 0, if_nametoindex(entry->ifa_name), entry->ifa_name});
    }
    Adapter& adapter = list.adapters[index];
    if (adapter.address == 0 && entry->ifa_addr &&
        entry->ifa_addr->sa_family == AF_INET) {
      const auto* address =
          reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
      adapter.address = ntohl(address->sin_addr.s_addr);
      if (entry->ifa_netmask && entry->ifa_netmask->sa_family == AF_INET) {
        const auto* mask =
            reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask);
        adapter.mask = ntohl(mask->sin_addr.s_addr);
      }
    }
  }
  freeifaddrs(all);
  if (list.adapters.empty()) list.status = AdapterList::Status::NoAdapters;
  return list;
}

bool EnableNonBlocking(Socket socket) {
  const int flags = fcntl(Fd(socket), F_GETFL);
  return flags >= 0 && fcntl(Fd(socket), F_SETFL, flags | O_NONBLOCK) == 0;
}

int ReceiveWaiting(Socket socket, std::uint8_t* buffer, std::size_t capacity,
                   Arrival* arrival) {
  // An oversized datagram fails without setting errno: a stale EAGAIN must
  // not end the draining early.
  errno = 0;
  const int size = ReceiveFrom(socket, buffer, capacity, arrival);
  if (size < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
    return NOTHING_WAITING;
  return size;
}

}  // namespace net
