// The address of an ONVIF device, from the service addresses (XAddrs) it
// lists. A device may list a link-local one first, or one per network it is
// on; the datagram's source can be another address again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Subnet {
  std::uint32_t address = 0;  // numeric, first octet highest
  std::uint32_t mask = 0;     // 0: every address is in it
};

// The host of `xaddr` ("http://10.1.2.3:8080/onvif/device_service") when it
// is an IPv4 literal.
std::optional<std::uint32_t> XAddrHost(const std::string& xaddr);

// The host of the first IPv4-literal XAddr outside 169.254/16 that lies in
// `preferred` (the adapter the reply came in on), else of the first one
// outside 169.254/16, else nothing: the caller then takes the datagram's
// source.
std::optional<std::uint32_t> DeviceAddress(
    const std::vector<std::string>& xaddrs, const Subnet& preferred);
