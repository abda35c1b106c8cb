#include "tools/flood/isolation.h"

#include "core/engine/net.h"
#include "core/protocol/datagram.h"
#include "core/text/utf8.h"

namespace flood {

bool OnlyOnTestLinks(std::string* why) {
  const net::AdapterList adapters = net::ListAdapters();
  if (adapters.status != net::AdapterList::Status::Ok) {
    *why = "the local adapters cannot be listed";
    return false;
  }
  bool any = false;
  for (const net::Adapter& adapter : adapters.adapters) {
    const std::uint32_t address = adapter.address;
    if (address == 0) continue;
    const std::uint32_t net16 = address >> 16;
    if (net16 != 0x0A4Du && net16 != 0x0A4Eu) {
      *why = "local address " + Utf8(AddressText(address)) +
             " is not on a private test link";
      return false;
    }
    any = true;
  }
  if (!any) *why = "no local IPv4 address";
  return any;
}

}  // namespace flood
