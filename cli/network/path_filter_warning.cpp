#include "cli/network/path_filter_warning.h"

#include <algorithm>
#include <string>
#include <vector>

#include "cli/format/messages.h"
#include "cli/format/text_formats.h"
#include "core/engine/local_adapters.h"
#include "platform/path_filter.h"

namespace cli {
namespace {

// The kernel applies the larger of the two settings; 2 (loose) accepts any
// source it has a route back to.
bool IsStrict(const ReversePathFilter& filter) {
  return filter.known && std::max(filter.all, filter.own) == 1;
}

// sysctl reads the dots of a key as separators; a key written with slashes
// keeps a dotted interface name ("eth0.100") whole.
std::string LooseSetting(const std::string& interfaceName) {
  if (interfaceName.find('.') == std::string::npos)
    return "net.ipv4.conf." + interfaceName + ".rp_filter=2";
  return "net/ipv4/conf/" + interfaceName + "/rp_filter=2";
}

}  // namespace

void WarnOfStrictPathFilter(std::uint32_t adapter) {
  static bool warned = false;
  if (warned) return;
  warned = true;
  std::vector<std::string> strict;
  bool allStrict = false;
  for (const LocalAdapter& local : LocalAdapters()) {
    if (adapter != 0 && local.address != adapter) continue;
    const ReversePathFilter filter = ReadReversePathFilter(local.name);
    if (!IsStrict(filter)) continue;
    strict.push_back(local.name);
    allStrict = allStrict || filter.all == 1;
  }
  if (strict.empty()) return;
  std::string command = "sysctl -w";
  if (allStrict) command += " net.ipv4.conf.all.rp_filter=2";
  for (const std::string& name : strict) command += " " + LooseSetting(name);
  Tell("strict reverse-path filtering on " + ListText(strict) +
       " drops the replies of devices whose address lies outside the "
       "adapter's subnet, such as new devices on their factory address: the "
       "search cannot list them. To loosen it: " +
       command);
}

}  // namespace cli
