// The sockets the ONVIF answers leave from. A real device answers from its
// own address, and a client may take the neighbour table's entry for that
// address as the device's MAC: where the host has a device's address (a
// test network may give the simulator's namespace the addresses of its
// devices), the device answers from it; elsewhere from the shared
// WS-Discovery socket, the host's own address.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "core/engine/net.h"

namespace devsim {

class OnvifSenders {
 public:
  // `interfaceName`: the --interface served, or empty for every one.
  explicit OnvifSenders(std::string interfaceName);
  ~OnvifSenders();
  OnvifSenders(const OnvifSenders&) = delete;
  OnvifSenders& operator=(const OnvifSenders&) = delete;

  // Forgets the addresses that could not be bound: the host may have
  // gained them since. Once per probe, so that a device costs one failed
  // bind per probe at most.
  void Retry();
  // The socket bound to `address`:3702, or `shared` where the host does
  // not have that address.
  net::Socket For(std::uint32_t address, net::Socket shared);
  // Closes every socket opened.
  void Close();

 private:
  const std::string interfaceName_;
  std::map<std::uint32_t, net::Socket> bound_;
  std::set<std::uint32_t> unbound_;
};

}  // namespace devsim
