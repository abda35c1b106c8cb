#include "core/devices/ingress_record.h"

#include <algorithm>

void IngressRecord::Heard(const MacAddress& mac, std::uint32_t interfaceIndex) {
  HeardAs(MacKey(mac), interfaceIndex);
}

void IngressRecord::HeardAs(std::uint64_t key, std::uint32_t interfaceIndex) {
  std::vector<std::uint32_t>& interfaces = heard_[key];
  if (std::find(interfaces.begin(), interfaces.end(), interfaceIndex) ==
      interfaces.end())
    interfaces.push_back(interfaceIndex);
}

const std::vector<std::uint32_t>& IngressRecord::Of(
    const MacAddress& mac) const {
  static const std::vector<std::uint32_t> NONE;
  const auto found = heard_.find(MacKey(mac));
  return found == heard_.end() ? NONE : found->second;
}
