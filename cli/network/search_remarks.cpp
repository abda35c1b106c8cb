#include "cli/network/search_remarks.h"

#include "cli/device/found_device.h"
#include "cli/format/text_formats.h"
#include "core/protocol/datagram.h"
#include "platform/firewall_note.h"

namespace cli {
namespace {

std::string AdapterText(const LocalAdapter& adapter) {
  return Dotted(adapter.address) + " (mask " + Dotted(adapter.mask) + ")";
}

}  // namespace

std::string BeyondCapText(const TurnedAway& away, std::size_t listed) {
  if (away.devices == 0) return {};
  const bool one = away.devices == 1 && away.count == TurnedAway::Count::Exact;
  return std::string(away.count == TurnedAway::Count::MoreThan ? "more than "
                                                               : "") +
         std::to_string(away.devices) +
         (one ? " more device" : " more devices") + " answered beyond the " +
         std::to_string(listed) + " listed";
}

std::vector<std::string> NothingAnsweredLines(
    const std::vector<LocalAdapter>& local, std::uint32_t chosen,
    Unheard unheard) {
  std::vector<LocalAdapter> searched;
  for (const LocalAdapter& adapter : local)
    if (chosen == 0 || adapter.address == chosen) searched.push_back(adapter);
  std::vector<std::string> texts;
  for (const LocalAdapter& adapter : searched)
    texts.push_back(AdapterText(adapter));
  const std::string where =
      searched.empty() && chosen != 0 ? Dotted(chosen) : ListText(texts);
  std::vector<std::string> lines{unheard == Unheard::AnyDevice
                                     ? "no device answered"
                                     : "no device answered Quellan's own "
                                       "protocol"};
  if (chosen != 0) {
    lines.push_back("searched through " + where + " only, as --adapter asks");
  } else if (!searched.empty()) {
    lines.push_back("searched through " + where);
  }
  for (std::string& line : FirewallNote(DISCOVERY_PORT))
    lines.push_back(std::move(line));
  return lines;
}

std::string UnreadRepliesText(
    const std::map<MatchesStatus, std::uint64_t>& refused) {
  static const std::pair<MatchesStatus, const char*> REASONS[] = {
      {MatchesStatus::Doctype, "a DOCTYPE"},
      {MatchesStatus::Malformed, "a truncated or malformed body"},
      {MatchesStatus::TooLarge, "over the size limits"},
      {MatchesStatus::Discovery2009, "the 2009/01 discovery namespace"},
      {MatchesStatus::Addressing2005, "the 2005/08 addressing namespace"},
      {MatchesStatus::NotProbeMatches, "not a ProbeMatches"},
  };
  std::uint64_t total = 0;
  std::vector<std::string> reasons;
  for (const auto& [status, text] : REASONS) {
    const auto count = refused.find(status);
    if (count == refused.end() || count->second == 0) continue;
    total += count->second;
    reasons.push_back(std::string(text) + " (" + std::to_string(count->second) +
                      ")");
  }
  if (total == 0) return {};
  return std::to_string(total) +
         (total == 1 ? " WS-Discovery reply" : " WS-Discovery replies") +
         " could not be read: " + Joined(reasons, ", ");
}

std::vector<std::string> OnvifMissLines(std::uint64_t unrelated,
                                        std::uint64_t probesFailed) {
  std::vector<std::string> lines;
  if (unrelated)
    lines.push_back(std::to_string(unrelated) +
                    (unrelated == 1 ? " WS-Discovery reply answered"
                                    : " WS-Discovery replies answered") +
                    " no probe of this search");
  if (probesFailed)
    lines.push_back(std::to_string(probesFailed) +
                    (probesFailed == 1 ? " ONVIF probe" : " ONVIF probes") +
                    " could not be sent");
  return lines;
}

}  // namespace cli
