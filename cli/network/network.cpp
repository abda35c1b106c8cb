#include "cli/network/network.h"

#include <algorithm>

#include "cli/format/messages.h"
#include "cli/network/path_filter_warning.h"
#include "cli/network/search_remarks.h"
#include "core/devices/blocking_search.h"

namespace cli {

Through ThroughOption(std::uint32_t adapter) {
  return adapter ? Through{adapter} : Through{};
}

Through DomainThrough(const BroadcastDomains& domains, std::uint32_t domain,
                      std::uint32_t adapterOption) {
  if (adapterOption) return {adapterOption};
  return domains.AdapterAddresses(domain);
}

Through ChangeThrough(const Findings& found, const FoundDevice& device,
                      std::uint32_t adapterOption) {
  if (device.place.adapter == 0) return {};
  return DomainThrough(found.domains, device.place.domain, adapterOption);
}

bool SearchDevices(std::chrono::milliseconds window, const Through& through,
                   Findings* found, ReplyBodies* bodies, Remarks remarks) {
  // --adapter names one; the searches of a change name a domain's.
  const std::uint32_t chosen = through.size() == 1 ? through.front() : 0;
  WarnOfStrictPathFilter(chosen);
  SearchOptions options;
  options.window = window;
  options.collisions = CollisionRule::ListAll;
  options.adapters = through;
  options.ingress = Ingress::Recorded;
  options.rowCap = LISTED_DEVICES;
  // FoundDevices sorts by number, once, and writes the numbers itself.
  options.order = RowOrder::Arrival;
  options.texts = RowTexts::None;
  BlockingSearch search(options);
  if (search.Run() != SearchStart::Started) return false;
  const std::vector<LocalAdapter> local = LocalAdapters();
  found->domains = BroadcastDomains(local, search.Heard());
  found->devices = FoundDevices(search.Rows(), found->domains, search.Heard());
  for (const DeviceRow& row : search.Rows())
    (*bodies)[MacKey(row.record.macAddress)] = row.record;
  if (!through.empty()) {
    // Replies to other searchers come in through the other adapters too.
    std::vector<std::uint32_t> indexes;
    for (const LocalAdapter& adapter : local)
      if (std::count(through.begin(), through.end(), adapter.address))
        indexes.push_back(adapter.index);
    auto heardOutside = [&](const FoundDevice& device) {
      for (std::uint32_t index : search.Heard().Of(*device.mac))
        if (std::count(indexes.begin(), indexes.end(), index)) return false;
      return true;
    };
    found->devices.erase(std::remove_if(found->devices.begin(),
                                        found->devices.end(), heardOutside),
                         found->devices.end());
  }
  if (remarks == Remarks::Quiet) return true;
  const std::string beyond =
      BeyondCapText(search.TurnedAwayDevices(), LISTED_DEVICES);
  if (!beyond.empty()) Tell(beyond);
  if (found->devices.empty())
    for (const std::string& line : NothingAnsweredLines(local, chosen))
      Tell(line);
  return true;
}

}  // namespace cli
