#include "core/wsdiscovery/xaddrs.h"

#include "core/protocol/datagram.h"

namespace {

constexpr std::uint32_t LINK_LOCAL = 0xA9FE0000;  // 169.254.0.0/16
constexpr std::uint32_t LINK_LOCAL_MASK = 0xFFFF0000;

bool InSubnet(std::uint32_t address, const Subnet& subnet) {
  return (address & subnet.mask) == (subnet.address & subnet.mask);
}

}  // namespace

std::optional<std::uint32_t> XAddrHost(const std::string& xaddr) {
  const std::size_t scheme = xaddr.find("://");
  if (scheme == std::string::npos) return std::nullopt;
  const std::size_t begin = scheme + 3;
  const std::size_t authorityEnd = xaddr.find_first_of("/?#", begin);
  const std::string authority = xaddr.substr(
      begin, authorityEnd == std::string::npos ? std::string::npos
                                               : authorityEnd - begin);
  const std::size_t at = authority.rfind('@');
  const std::string hostPort =
      at == std::string::npos ? authority : authority.substr(at + 1);
  const std::string host = hostPort.substr(0, hostPort.find(':'));
  std::uint32_t numeric = 0;
  if (!ParseAddress(host, &numeric)) return std::nullopt;
  return numeric;
}

std::optional<std::uint32_t> DeviceAddress(
    const std::vector<std::string>& xaddrs, const Subnet& preferred) {
  std::optional<std::uint32_t> first;
  for (const std::string& xaddr : xaddrs) {
    const std::optional<std::uint32_t> host = XAddrHost(xaddr);
    if (!host || (*host & LINK_LOCAL_MASK) == LINK_LOCAL) continue;
    if (InSubnet(*host, preferred)) return host;
    if (!first) first = host;
  }
  return first;
}
