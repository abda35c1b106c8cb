#include "core/devices/ingress_record.h"

#include <algorithm>

namespace {

std::uint64_t Key(const MacAddress& mac) {
  std::uint64_t key = 0;
  for (std::uint8_t byte : mac) key = (key << 8) | byte;
  return key;
}

}  // namespace

void IngressRecord::Heard(const MacAddress& mac, std::uint32_t interfaceIndex) {
  std::vector<std::uint32_t>& interfaces = heard_[Key(mac)];
  if (std::find(interfaces.begin(), interfaces.end(), interfaceIndex) ==
      interfaces.end())
    interfaces.push_back(interfaceIndex);
}

const std::vector<std::uint32_t>& IngressRecord::Of(
    const MacAddress& mac) const {
  static const std::vector<std::uint32_t> NONE;
  const auto found = heard_.find(Key(mac));
  return found == heard_.end() ? NONE : found->second;
}
