#include "cli/commands/adapter_check.h"

#include "cli/device/found_device.h"
#include "cli/format/text_formats.h"

namespace cli {

std::string UnknownAdapterText(std::uint32_t adapter,
                               const std::vector<LocalAdapter>& local) {
  if (adapter == 0) return std::string();
  std::vector<std::string> addresses;
  for (const LocalAdapter& one : local) {
    if (one.address == adapter) return std::string();
    addresses.push_back(Dotted(one.address));
  }
  const std::string text =
      "no local adapter has the address " + Dotted(adapter) + "; ";
  if (addresses.empty()) return text + "this computer has no IPv4 address";
  return text + "this computer's " +
         (addresses.size() == 1 ? "address is " : "addresses are ") +
         ListText(addresses);
}

}  // namespace cli
