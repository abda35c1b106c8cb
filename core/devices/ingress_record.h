// Which local interfaces heard each listed device during one search. One
// host may reach several broadcast domains (a trunk's VLANs, several cards),
// and the same factory address shows up on each: the interface a reply came
// in on tells them apart.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/protocol/datagram.h"

class IngressRecord {
 public:
  // A reply of `mac` came in on the interface with this system index (0 when
  // the system did not say).
  void Heard(const MacAddress& mac, std::uint32_t interfaceIndex);
  // The same for a device that no MAC names (an ONVIF device known by its
  // endpoint): `key` lies above the 48 bits of MacKey.
  void HeardAs(std::uint64_t key, std::uint32_t interfaceIndex);
  // The interfaces that heard `mac`, in the order first heard; empty for a
  // device never heard.
  const std::vector<std::uint32_t>& Of(const MacAddress& mac) const;
  // Every device's interfaces, in no order.
  template <typename Visit>
  void ForEach(Visit visit) const {
    for (const auto& [mac, interfaces] : heard_) visit(interfaces);
  }
  void Clear() { heard_.clear(); }

 private:
  std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> heard_;
};
