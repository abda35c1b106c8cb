#include "cli/network/engine_discovery.h"

#include <algorithm>
#include <map>
#include <set>
#include <thread>
#include <unordered_map>

#include "cli/format/messages.h"
#include "cli/format/progress_line.h"
#include "cli/network/verify_progress.h"
#include "core/devices/change_link.h"
#include "core/devices/multi_change.h"
#include "platform/neighbour_table.h"

namespace cli {
namespace {

using Clock = std::chrono::steady_clock;

// The change requests of a wave go out this far apart, so that a switch full
// of devices is not flooded.
constexpr PassTiming PACING{std::chrono::milliseconds(0),
                            std::chrono::milliseconds(50)};

// Real devices may take many seconds to come back on a new address; a
// search every two seconds finds them soon after without crowding the
// network.
constexpr std::chrono::milliseconds VERIFY_EVERY{2000};
constexpr std::chrono::milliseconds VERIFY_WINDOW{1500};
// How long the neighbours of a link have to answer a probe.
constexpr std::chrono::milliseconds PROBE_WAIT{400};

}  // namespace

EngineDiscovery::EngineDiscovery(std::uint32_t adapterOption,
                                 Protocols protocols)
    : adapterOption_(adapterOption),
      protocols_(protocols),
      local_(LocalAdapters()) {}

SearchOutcome EngineDiscovery::Search(std::chrono::milliseconds window,
                                      Remarks remarks) {
  const ProgressWait progress(
      ErrorProgress(), window, [](std::chrono::seconds left) {
        return "searching for devices, " + TimeLeftText(left);
      });
  SearchOutcome outcome;
  if (!SearchDevices(window, ThroughOption(adapterOption_), protocols_,
                     &outcome.found, &bodies_, remarks)) {
    outcome.status = LinkStatus::Failed;
    return outcome;
  }
  domains_ = outcome.found.domains;
  return outcome;
}

Through EngineDiscovery::ThroughDomains(
    const std::vector<std::uint32_t>& domains) const {
  std::set<std::uint32_t> through;
  for (std::uint32_t domain : domains)
    for (std::uint32_t address :
         DomainThrough(domains_, domain, adapterOption_))
      through.insert(address);
  return {through.begin(), through.end()};
}

SendOutcome EngineDiscovery::Send(const std::vector<ChangeRequest>& requests,
                                  const SendWatch& watch) {
  SendOutcome outcome;
  outcome.adapters.assign(requests.size(), 0);
  std::map<std::uint32_t, std::vector<std::size_t>> byDomain;
  for (std::size_t i = 0; i < requests.size(); ++i)
    byDomain[requests[i].domain].push_back(i);
  for (const auto& [domain, indexes] : byDomain) {
    std::vector<DeviceInfo> bodies;
    for (std::size_t i : indexes) {
      const ChangeRequest& request = requests[i];
      const auto heard = bodies_.find(MacKey(request.mac));
      DeviceInfo body = heard != bodies_.end() ? heard->second : DeviceInfo{};
      body.macAddress = request.mac;
      ApplyIpSettings(body, request.settings);
      bodies.push_back(body);
    }
    EngineChangeLink link(DomainThrough(domains_, domain, adapterOption_));
    ChangePass pass(link, bodies, PACING);
    const std::vector<std::size_t>& at = indexes;
    if (!pass.Start([&](int done, int adapters) {
          const std::size_t request = at[static_cast<std::size_t>(done) - 1];
          outcome.adapters[request] = adapters;
          if (watch) watch(request, adapters);
        })) {
      outcome.status = LinkStatus::Failed;
      return outcome;
    }
    pass.Join();
  }
  return outcome;
}

VerifyOutcome EngineDiscovery::Verify(
    const std::vector<ChangeRequest>& expected,
    const std::vector<std::uint32_t>& domains, std::chrono::milliseconds limit,
    const VerifyWatch& watch) {
  VerifyOutcome outcome;
  // Our devices are verified by our protocol; where the search asked ONVIF
  // too, so does the verify, since an ONVIF answer holds its address.
  const Protocols verifyProtocols =
      protocols_ == Protocols::Quellan ? Protocols::Quellan : Protocols::All;
  const Through through = ThroughDomains(domains);
  std::unordered_map<std::uint64_t, FoundDevice> last;
  const Clock::time_point start = Clock::now();
  Clock::time_point round = start;
  while (true) {
    Findings found;
    if (!SearchDevices(VERIFY_WINDOW, through, verifyProtocols, &found,
                       &bodies_, Remarks::Quiet)) {
      outcome.status = LinkStatus::Failed;
      break;
    }
    outcome.onvif = OnvifHolders(found.devices);
    for (FoundDevice& device : found.devices)
      if (Changeable(device)) last[MacKey(*device.mac)] = std::move(device);
    const VerifyProgress progress = CountAnswered(
        expected,
        [&last](const MacAddress& mac) -> const IpSettings* {
          const auto seen = last.find(MacKey(mac));
          return seen == last.end() ? nullptr : &seen->second.settings;
        },
        std::chrono::duration_cast<std::chrono::milliseconds>(start + limit -
                                                              Clock::now()));
    if (watch) watch(progress);
    round += VERIFY_EVERY;
    if (progress.answered == expected.size() || round - start >= limit) break;
    std::this_thread::sleep_until(round);
  }
  for (auto& entry : last) outcome.heard.push_back(std::move(entry.second));
  return outcome;
}

ProbeOutcome EngineDiscovery::Probe(const std::vector<std::uint32_t>& addresses,
                                    std::uint32_t domain) {
  ProbeOutcome outcome;
  outcome.holdings.assign(addresses.size(), Holding::NotChecked);
  outcome.holders.assign(addresses.size(), MacAddress{});
  // Each address is checked on the link of the domain's adapter whose subnet
  // holds it; off every such link a check would mean nothing.
  std::map<std::uint32_t, std::vector<std::size_t>> byAdapter;
  bool offLink = false;
  const Through through = DomainThrough(domains_, domain, adapterOption_);
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    const LocalAdapter* on = nullptr;
    for (const LocalAdapter& adapter : local_)
      if (std::count(through.begin(), through.end(), adapter.address) &&
          (adapter.address & adapter.mask) == (addresses[i] & adapter.mask))
        on = &adapter;
    if (on) {
      byAdapter[on->address].push_back(i);
    } else {
      offLink = true;
    }
  }
  bool failed = false;
  for (const auto& [adapter, indexes] : byAdapter) {
    std::vector<std::uint32_t> batch;
    for (std::size_t i : indexes) batch.push_back(addresses[i]);
    const std::vector<AddressCheck> checks =
        ProbeAddresses(adapter, batch, PROBE_WAIT);
    for (std::size_t k = 0; k < indexes.size() && k < checks.size(); ++k) {
      Holding& holding = outcome.holdings[indexes[k]];
      const AddressUse use = checks[k].use;
      holding = use == AddressUse::Held   ? Holding::Held
                : use == AddressUse::Free ? Holding::Free
                                          : Holding::NotChecked;
      outcome.holders[indexes[k]] = checks[k].holder;
      failed = failed || holding == Holding::NotChecked;
    }
  }
  if (failed) {
    outcome.why = "the neighbour table could not be read";
  } else if (offLink) {
    outcome.why =
        "it lies outside the subnets of its broadcast domain's adapters";
  }
  return outcome;
}

}  // namespace cli
