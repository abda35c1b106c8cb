// The probe of who holds an address: the same on every platform, over the
// socket seam and the system's neighbour table.
#include <algorithm>
#include <cstddef>
#include <string>
#include <thread>

#include "core/engine/net.h"
#include "platform/neighbour_table.h"

namespace {

// The discard port: nothing answers on it by convention. The datagram only
// makes the system resolve the address; what it carries does not matter.
constexpr std::uint16_t DISCARD_PORT = 9;
constexpr std::uint8_t PROBE[4] = {};

bool InSubnet(std::uint32_t address, std::uint32_t local, std::uint32_t mask) {
  return (address & mask) == (local & mask);
}

// Whether another adapter than `self` reaches `address` too: the system may
// then resolve it on that adapter's link instead.
bool ReachedElsewhere(const std::vector<net::Adapter>& adapters,
                      const net::Adapter& self, std::uint32_t address) {
  for (const net::Adapter& other : adapters)
    if (&other != &self && other.address != 0 &&
        InSubnet(address, other.address, other.mask))
      return true;
  return false;
}

// Sends one probe to each address on the adapter's link, from the adapter;
// marks the adapter's own address Held. Which probes went out.
std::vector<bool> SendProbes(const std::vector<net::Adapter>& adapters,
                             const net::Adapter& self,
                             const std::vector<std::uint32_t>& addresses,
                             std::vector<AddressCheck>* checks) {
  std::vector<bool> sent(addresses.size(), false);
  const std::uint32_t local = self.address;
  const net::Socket socket = net::OpenUdp();
  if (socket == net::NO_SOCKET) return sent;
  if (!net::Bind(socket, {local, 0})) {
    net::Close(socket);
    return sent;
  }
  // Sending from the adapter's address is not enough where the system picks
  // the outgoing interface by destination (Linux's weak host model) and
  // another adapter shares the subnet; tying the socket to the interface is.
  // Without that (no privilege for it), such addresses stay unchecked.
  const bool tied =
      self.name.empty() ||
      net::BindToInterface(socket, self.name) == net::InterfaceBinding::Bound;
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    const std::uint32_t address = addresses[i];
    if (address == local) {
      (*checks)[i].use = AddressUse::Held;
    } else if (InSubnet(address, local, self.mask) &&
               (tied || !ReachedElsewhere(adapters, self, address))) {
      sent[i] =
          net::SendTo(socket, PROBE, sizeof PROBE, {address, DISCARD_PORT});
    }
  }
  net::Close(socket);
  return sent;
}

}  // namespace

std::vector<AddressCheck> ProbeAddresses(
    std::uint32_t adapterAddress, const std::vector<std::uint32_t>& addresses,
    std::chrono::milliseconds wait) {
  std::vector<AddressCheck> checks(addresses.size());
  const std::vector<net::Adapter> adapters = net::ListAdapters().adapters;
  const auto self = std::find_if(
      adapters.begin(), adapters.end(), [adapterAddress](const auto& adapter) {
        return adapterAddress == 0 || adapter.address == adapterAddress;
      });
  if (self == adapters.end() || !net::Startup()) return checks;
  const std::vector<bool> sent =
      SendProbes(adapters, *self, addresses, &checks);
  net::Cleanup();
  if (std::find(sent.begin(), sent.end(), true) == sent.end()) return checks;

  std::this_thread::sleep_for(wait);
  const NeighbourTable table = ReadNeighbours();
  if (table.status != NeighbourTable::Status::Read) return checks;
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    if (!sent[i]) continue;
    checks[i].use = AddressUse::Free;
    for (const Neighbour& entry : table.entries)
      if (entry.address == addresses[i] && entry.interfaceIndex == self->index)
        checks[i] = {AddressUse::Held, entry.mac};
  }
  return checks;
}
