#include "cli/plan/temporary_pool.h"

#include <algorithm>
#include <utility>

#include "cli/device/found_device.h"
#include "cli/format/text_formats.h"
#include "core/validation/change_check.h"

namespace cli {
namespace {

// How many batches one Take may check before it gives up on a subnet whose
// candidates all answer for themselves.
constexpr int MOST_REFILLS = 4;

}  // namespace

bool ParseTemporaryRange(const std::string& text, TemporaryRange* range) {
  const std::size_t dash = text.find('-');
  TemporaryRange read;
  if (!ParseAddress(text.substr(0, dash), &read.first)) return false;
  read.last = read.first;
  if (dash != std::string::npos &&
      (!ParseAddress(text.substr(dash + 1), &read.last) ||
       read.last < read.first))
    return false;
  *range = read;
  return true;
}

TemporaryPool::TemporaryPool(std::optional<TemporaryRange> named,
                             std::vector<std::uint32_t> localAddresses,
                             Check check, Taken taken)
    : named_(named),
      localAddresses_(std::move(localAddresses)),
      check_(std::move(check)),
      taken_(std::move(taken)) {}

TemporaryPool::Source& TemporaryPool::SourceOf(std::uint32_t domain,
                                               const IpSettings& settings) {
  const std::uint32_t mask = settings.subnetMask;
  const Group group{domain, settings.ipAddress & mask, mask};
  const auto found = sources_.find(group);
  if (found != sources_.end()) return found->second;
  Source source;
  if (named_) {
    source.next = named_->last;
    source.end = static_cast<std::uint64_t>(named_->first) - 1;
  } else {
    // From just below the broadcast address down to just above the network
    // address; the checker turns away what else is not for a device.
    const std::uint32_t network = settings.ipAddress & mask;
    source.next = (network | ~mask) - 1ull;
    source.end = network;
  }
  return sources_.emplace(group, source).first->second;
}

std::string TemporaryPool::Refusal(std::uint32_t domain,
                                   const IpSettings& settings,
                                   std::uint32_t address) const {
  const std::uint32_t mask = settings.subnetMask;
  if ((address & mask) != (settings.ipAddress & mask))
    return Dotted(address) + " lies outside the device's new subnet";
  IpSettings there = settings;
  there.ipAddress = address;
  for (const ChangeProblem& problem :
       CheckChange(there, IpSettings{}, MacAddress{},
                   ChangeContext{nullptr, localAddresses_, nullptr})) {
    if (!IsInputProblem(problem.kind))
      return OneLine(ChangeProblemMessage(problem));
  }
  if (taken_(domain, address))
    return Dotted(address) +
           " is held by a device, planned for one or a gateway";
  return std::string();
}

void TemporaryPool::Refill(std::uint32_t domain, const IpSettings& settings,
                           Source& source, std::size_t count) {
  std::vector<std::uint32_t> candidates;
  while (candidates.size() < count && source.next > source.end) {
    const auto address = static_cast<std::uint32_t>(source.next--);
    if (Refusal(domain, settings, address).empty())
      candidates.push_back(address);
  }
  if (candidates.empty()) return;
  const ProbeOutcome probed = check_(candidates, domain);
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const Holding holding =
        i < probed.holdings.size() ? probed.holdings[i] : Holding::NotChecked;
    if (holding == Holding::Held) continue;
    source.checked.push_back(
        {candidates[i], holding,
         holding == Holding::NotChecked ? probed.why : std::string()});
  }
  // Handed out from the back: keep the top of the subnet first.
  std::reverse(source.checked.begin(), source.checked.end());
}

std::optional<TemporarySlot> TemporaryPool::Take(std::uint32_t domain,
                                                 const IpSettings& settings,
                                                 std::size_t wanted,
                                                 std::string* why) {
  Source& source = SourceOf(domain, settings);
  const std::size_t batch =
      std::clamp<std::size_t>(wanted, 1, LINK_CHECK_BATCH);
  for (int refills = 0; refills <= MOST_REFILLS; ++refills) {
    while (!source.checked.empty()) {
      const TemporarySlot slot = source.checked.back();
      source.checked.pop_back();
      // Things change while a plan runs: look again before handing it out.
      if (Refusal(domain, settings, slot.address).empty()) return slot;
    }
    if (source.next <= source.end) break;
    Refill(domain, settings, source, batch);
  }
  if (named_ && named_->first == named_->last) {
    const std::string refusal = Refusal(domain, settings, named_->first);
    *why = refusal.empty()
               ? Dotted(named_->first) +
                     " is in use: something on the link answers for it"
               : "the temporary address cannot be used: " + refusal;
  } else {
    *why = named_ ? "no address of the --temp range is free for it"
                  : "no temporary address is free in its subnet (name one "
                    "with --temp)";
  }
  return std::nullopt;
}

void TemporaryPool::GiveBack(std::uint32_t domain, const IpSettings& settings,
                             const TemporarySlot& slot) {
  SourceOf(domain, settings).checked.push_back(slot);
}

}  // namespace cli
