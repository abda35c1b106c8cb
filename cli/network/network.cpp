#include "cli/network/network.h"

#include <algorithm>
#include <future>
#include <optional>

#include "cli/format/messages.h"
#include "cli/network/onvif_devices.h"
#include "cli/network/path_filter_warning.h"
#include "cli/network/search_remarks.h"
#include "core/devices/blocking_search.h"
#include "platform/neighbour_table.h"

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

namespace {

// The ingress record's key for the ONVIF row `n` of this search that states
// no MAC, above the 48 bits of MacKey: the rows are already one per device.
std::uint64_t RowKey(std::size_t n) { return (1ull << 48) + n; }

// The interfaces through which `through` reaches; every one for none.
bool ThroughAllows(const std::vector<std::uint32_t>& indexes,
                   const Through& through, std::uint32_t index) {
  return through.empty() ||
         std::count(indexes.begin(), indexes.end(), index) != 0;
}

}  // namespace

bool SearchDevices(std::chrono::milliseconds window, const Through& through,
                   Protocols protocols, Findings* found, ReplyBodies* bodies,
                   Remarks remarks) {
  // --adapter names one; the searches of a change name a domain's.
  const std::uint32_t chosen = through.size() == 1 ? through.front() : 0;
  WarnOfStrictPathFilter(chosen);
  // Both protocols listen in the same window, each on its own socket.
  OnvifSearch onvif(OnvifSearchOptions{through});
  std::optional<std::future<OnvifSearchResult>> onvifAnswers;
  if (protocols != Protocols::Quellan)
    onvifAnswers = std::async(std::launch::async,
                              [&onvif, window] { return onvif.Run(window); });
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
  if (protocols != Protocols::Onvif && search.Run() != SearchStart::Started) {
    onvif.Stop();
    return false;
  }
  const std::vector<LocalAdapter> local = LocalAdapters();
  std::vector<std::uint32_t> indexes;  // the interfaces of `through`
  for (const LocalAdapter& adapter : local)
    if (std::count(through.begin(), through.end(), adapter.address))
      indexes.push_back(adapter.index);

  IngressRecord heard = search.Heard();
  std::vector<OnvifHeard> onvifDevices;
  OnvifSearchCounts onvifCounts;
  if (onvifAnswers) {
    const OnvifSearchResult result = onvifAnswers->get();
    onvifCounts = result.counts;
    if (result.status == OnvifSearchStatus::NoSocket)
      Tell("the ONVIF search could not open its socket");
    const std::uint32_t dropped = result.counts.kernelDropped.value_or(0);
    if (dropped > 0 && remarks == Remarks::Say)
      Tell("the system dropped " + std::to_string(dropped) +
           " ONVIF answers for want of room in the receive buffer: some "
           "ONVIF devices may be missing");
    NeighbourTable neighbours = ReadNeighbours();
    onvifDevices = OnvifDevices(result.answers, local, neighbours.entries);
    // A stated MAC joins the device's interfaces with those of our reply of
    // the same MAC; a neighbour table's guess never unites two links.
    for (std::size_t n = 0; n < onvifDevices.size(); ++n) {
      const FoundDevice& device = onvifDevices[n].device;
      const bool stated = device.mac && device.macSource == MacSource::Scope;
      for (std::uint32_t index : onvifDevices[n].interfaces)
        stated ? heard.Heard(*device.mac, index)
               : heard.HeardAs(RowKey(n), index);
    }
  }
  found->domains = BroadcastDomains(local, heard);
  found->devices = FoundDevices(search.Rows(), found->domains, heard);
  for (const DeviceRow& row : search.Rows())
    (*bodies)[MacKey(row.record.macAddress)] = row.record;
  // Replies to other searchers come in through the other adapters too.
  auto heardOutside = [&](const FoundDevice& device) {
    for (std::uint32_t index : heard.Of(*device.mac))
      if (ThroughAllows(indexes, through, index)) return false;
    return true;
  };
  found->devices.erase(std::remove_if(found->devices.begin(),
                                      found->devices.end(), heardOutside),
                       found->devices.end());
  std::vector<FoundDevice> placed;
  for (OnvifHeard& one : onvifDevices) {
    const std::uint32_t* on = nullptr;
    for (const std::uint32_t& index : one.interfaces)
      if (!on && ThroughAllows(indexes, through, index)) on = &index;
    if (!on) continue;
    one.device.place =
        found->domains.Place(one.device.settings.ipAddress, {*on});
    placed.push_back(std::move(one.device));
  }
  if (protocols == Protocols::Onvif) found->devices.clear();
  MergeOnvif(std::move(placed), &found->devices);
  SortAndMarkConflicts(&found->devices);
  if (remarks == Remarks::Quiet) return true;
  const std::string beyond =
      BeyondCapText(search.TurnedAwayDevices(), LISTED_DEVICES);
  if (!beyond.empty()) Tell(beyond);
  const std::string unread = UnreadRepliesText(onvifCounts.refused);
  if (!unread.empty()) Tell(unread);
  for (const std::string& line :
       OnvifMissLines(onvifCounts.unrelated, onvifCounts.probesFailed))
    Tell(line);
  const bool oursAnswered =
      std::any_of(found->devices.begin(), found->devices.end(),
                  [](const FoundDevice& device) { return Changeable(device); });
  const bool nothing = found->devices.empty() && unread.empty();
  if (nothing || (protocols != Protocols::Onvif && !oursAnswered))
    for (const std::string& line : NothingAnsweredLines(
             local, chosen,
             nothing ? Unheard::AnyDevice : Unheard::OurProtocol))
      Tell(line);
  return true;
}

}  // namespace cli
