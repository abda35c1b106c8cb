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
    const std::vector<LocalAdapter>& local, std::uint32_t chosen) {
  std::vector<LocalAdapter> searched;
  for (const LocalAdapter& adapter : local)
    if (chosen == 0 || adapter.address == chosen) searched.push_back(adapter);
  std::vector<std::string> texts;
  for (const LocalAdapter& adapter : searched)
    texts.push_back(AdapterText(adapter));
  const std::string where =
      searched.empty() && chosen != 0 ? Dotted(chosen) : ListText(texts);
  std::vector<std::string> lines{"no device answered"};
  if (chosen != 0) {
    lines.push_back("searched through " + where + " only, as --adapter asks");
  } else if (!searched.empty()) {
    lines.push_back("searched through " + where);
  }
  for (std::string& line : FirewallNote(DISCOVERY_PORT))
    lines.push_back(std::move(line));
  return lines;
}

}  // namespace cli
