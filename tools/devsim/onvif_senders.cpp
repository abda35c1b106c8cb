#include "tools/devsim/onvif_senders.h"

#include <utility>

namespace devsim {
namespace {

constexpr std::uint16_t WS_DISCOVERY_PORT = 3702;

}  // namespace

OnvifSenders::OnvifSenders(std::string interfaceName)
    : interfaceName_(std::move(interfaceName)) {}

OnvifSenders::~OnvifSenders() { Close(); }

void OnvifSenders::Retry() { unbound_.clear(); }

net::Socket OnvifSenders::For(std::uint32_t address, net::Socket shared) {
  const auto known = bound_.find(address);
  if (known != bound_.end()) return known->second;
  if (unbound_.count(address)) return shared;
  // Beside the shared socket on 0.0.0.0:3702, so both need address reuse;
  // never read, since probes come to the group, which it is no member of.
  const net::Socket socket = net::OpenUdp();
  const bool bound =
      socket != net::NO_SOCKET &&
      (interfaceName_.empty() || net::BindToInterface(socket, interfaceName_) ==
                                     net::InterfaceBinding::Bound) &&
      net::EnableAddressReuse(socket) &&
      net::Bind(socket, net::Endpoint{address, WS_DISCOVERY_PORT});
  if (!bound) {
    if (socket != net::NO_SOCKET) net::Close(socket);
    unbound_.insert(address);
    return shared;
  }
  bound_[address] = socket;
  return socket;
}

void OnvifSenders::Close() {
  for (const auto& entry : bound_) net::Close(entry.second);
  bound_.clear();
}

}  // namespace devsim
