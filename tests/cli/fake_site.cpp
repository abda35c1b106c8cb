#include "tests/cli/fake_site.h"

#include "cli/device/found_device.h"
#include "cli/device/onvif_holders.h"
#include "cli/network/verify_progress.h"

namespace cli {
namespace {

// A late device misses this many searches after it takes a change.
constexpr int LATE_SEARCHES = 3;
constexpr std::chrono::milliseconds SEARCH_EVERY{2000};

}  // namespace

void FakeSite::AddDevice(const FoundDevice& device, Behaviour behaviour) {
  Fake fake;
  fake.device = device;
  fake.behaviour = behaviour;
  fake.startIp = device.settings.ipAddress;
  fakes_[*device.mac] = fake;
}

MacAddress FakeSite::AddArpHost(std::uint32_t domain, std::uint32_t address) {
  const MacAddress mac{0x52,
                       0x32,
                       0x2B,
                       static_cast<std::uint8_t>(domain),
                       static_cast<std::uint8_t>(address >> 8),
                       static_cast<std::uint8_t>(address)};
  arpHosts_[{domain, address}] = mac;
  return mac;
}

void FakeSite::AddStaleEntry(std::uint32_t domain, std::uint32_t address,
                             const MacAddress& mac) {
  stale_[{domain, address}] = mac;
}

void FakeSite::AddOnvifAnswer(std::uint32_t domain, const OnvifFacts& facts,
                              std::optional<MacAddress> with) {
  answers_.push_back({domain, facts, with});
}

void FakeSite::AddStatedAnswer(std::uint32_t domain, const OnvifFacts& facts,
                               const MacAddress& mac) {
  answers_.push_back({domain, facts, mac, MacSource::Reply});
}

std::vector<FoundDevice> FakeSite::OnvifRows() const {
  std::vector<FoundDevice> rows;
  for (const Answer& answer : answers_) {
    FoundDevice row;
    if (answer.with) {
      const Fake& fake = fakes_.at(*answer.with);
      if (fake.gone) continue;
      row = fake.device;
      row.heardBy = HeardBy::Both;
      row.macSource = answer.source;
    } else {
      row.heardBy = HeardBy::Onvif;
      row.settings.ipAddress = answer.facts.address;
      row.place.domain = answer.domain;
    }
    row.onvif = answer.facts;
    if (answer.source != MacSource::Reply)
      row.onvif->address = row.settings.ipAddress;
    rows.push_back(row);
  }
  return rows;
}

bool FakeSite::Failing() { return failFrom_ && ++calls_ >= failFrom_; }

bool FakeSite::HeldByOther(const Fake& self, std::uint32_t address) const {
  const std::uint32_t domain = self.device.place.domain;
  if (arpHosts_.count({domain, address})) return true;
  for (const FoundDevice& camera : OnvifRows())
    if (camera.heardBy == HeardBy::Onvif && camera.place.domain == domain &&
        camera.settings.ipAddress == address)
      return true;
  for (const auto& [mac, other] : fakes_) {
    if (&other == &self || other.device.place.domain != domain) continue;
    if (other.device.settings.ipAddress == address || other.owed.count(address))
      return true;
  }
  return false;
}

bool FakeSite::InUse(const Fake& self, std::uint32_t address) const {
  const std::uint32_t domain = self.device.place.domain;
  if (arpHosts_.count({domain, address})) return true;
  for (const auto& [mac, other] : fakes_)
    // A device that no longer answers searches still answers ARP.
    if (&other != &self && other.device.place.domain == domain &&
        other.device.settings.ipAddress == address)
      return true;
  return false;
}

SendOutcome FakeSite::Send(const std::vector<ChangeRequest>& requests,
                           const SendWatch& watch) {
  SendOutcome outcome;
  outcome.adapters.assign(requests.size(), 0);
  if (Failing()) {
    outcome.status = LinkStatus::Failed;
    return outcome;
  }
  ++sends_;
  for (std::size_t i = 0; i < requests.size(); ++i) {
    outcome.adapters[i] = Take(requests[i]);
    if (watch) watch(i, outcome.adapters[i]);
  }
  return outcome;
}

int FakeSite::Take(const ChangeRequest& request) {
  const auto found = fakes_.find(request.mac);
  if (found == fakes_.end()) return 0;
  Fake& fake = found->second;
  if (fake.behaviour == Behaviour::Unreachable) return 0;
  const std::uint32_t to = request.settings.ipAddress;
  if (to != fake.device.settings.ipAddress && HeldByOther(fake, to) &&
      broken_.empty())
    broken_ = Dotted(to) + " was asked of " + MacString(request.mac) +
              " while another device held it or was asked for it";
  fake.requests.push_back(request.settings);
  fake.owed.insert(to);
  const Behaviour behaviour = fake.behaviour;
  fake.gone = fake.gone || behaviour == Behaviour::Quiet;
  if (fake.gone || behaviour == Behaviour::Ignores ||
      (behaviour == Behaviour::FailsReturn && to == fake.startIp) ||
      (behaviour == Behaviour::RefusesInUse && InUse(fake, to)))
    return 1;
  fake.device.settings = request.settings;
  if (behaviour == Behaviour::Vanishes) fake.gone = true;
  if (behaviour == Behaviour::Late ||
      (behaviour == Behaviour::SlowOnce && fake.requests.size() == 1))
    fake.silentSearches = LATE_SEARCHES;
  return 1;
}

void FakeSite::Search(std::vector<FoundDevice>* heard) {
  lastHeard_.clear();
  for (auto& [mac, fake] : fakes_) {
    if (fake.gone) continue;
    if (fake.silentSearches > 0) {
      --fake.silentSearches;
      continue;
    }
    // Seen where it is, it owes no other address.
    fake.owed.clear();
    heard->push_back(fake.device);
    lastHeard_.insert(mac);
  }
}

VerifyOutcome FakeSite::Verify(const std::vector<ChangeRequest>& expected,
                               const std::vector<std::uint32_t>&,
                               std::chrono::milliseconds limit,
                               const VerifyWatch& watch) {
  VerifyOutcome outcome;
  if (Failing()) {
    outcome.status = LinkStatus::Failed;
    return outcome;
  }
  std::map<MacAddress, FoundDevice> last;
  for (std::chrono::milliseconds spent{0};; spent += SEARCH_EVERY) {
    std::vector<FoundDevice> heard;
    Search(&heard);
    for (const FoundDevice& device : heard) last[*device.mac] = device;
    const VerifyProgress progress = CountAnswered(
        expected,
        [&last](const MacAddress& mac) -> const IpSettings* {
          const auto seen = last.find(mac);
          return seen == last.end() ? nullptr : &seen->second.settings;
        },
        limit - spent);
    if (watch) watch(progress);
    if (progress.answered == expected.size() || spent + SEARCH_EVERY >= limit)
      break;
  }
  for (const auto& entry : last) outcome.heard.push_back(entry.second);
  outcome.onvif = OnvifHolders(OnvifRows());
  return outcome;
}

ProbeOutcome FakeSite::Probe(const std::vector<std::uint32_t>& addresses,
                             std::uint32_t domain) {
  ProbeOutcome outcome;
  probed_ += static_cast<int>(addresses.size());
  if (probeFails_) {
    outcome.holdings.assign(addresses.size(), Holding::NotChecked);
    outcome.why = "the neighbour table could not be read";
    return outcome;
  }
  for (std::uint32_t address : addresses) {
    std::optional<MacAddress> named;
    for (const auto* table : {&stale_, &arpHosts_}) {
      const auto found = table->find({domain, address});
      if (found != table->end()) named = found->second;
    }
    // A device there now, or one that left it: the table keeps its entry.
    for (const auto& [mac, fake] : fakes_)
      if (fake.device.place.domain == domain &&
          (fake.device.settings.ipAddress == address ||
           fake.startIp == address))
        named = mac;
    outcome.holdings.push_back(named ? Holding::Held : Holding::Free);
    outcome.holders.push_back(named.value_or(MacAddress{}));
  }
  return outcome;
}

std::optional<IpSettings> FakeSite::Now(const MacAddress& mac) const {
  const Fake& fake = fakes_.at(mac);
  if (fake.gone) return std::nullopt;
  return fake.device.settings;
}

std::vector<IpSettings> FakeSite::Requests(const MacAddress& mac) const {
  return fakes_.at(mac).requests;
}

std::string FakeSite::NewDuplicates() const {
  for (const auto& [mac, one] : fakes_) {
    for (const auto& [otherMac, other] : fakes_) {
      if (!(mac < otherMac) ||
          one.device.place.domain != other.device.place.domain ||
          one.device.settings.ipAddress != other.device.settings.ipAddress)
        continue;
      if (one.startIp == other.startIp) continue;
      return MacString(mac) + " and " + MacString(otherMac) + " share " +
             Dotted(one.device.settings.ipAddress);
    }
  }
  return std::string();
}

}  // namespace cli
