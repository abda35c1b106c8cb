#include "cli/network.h"

#include <thread>

#include "cli/messages.h"
#include "cli/search_remarks.h"
#include "cli/path_filter_warning.h"
#include "cli/settings_edit.h"
#include "core/devices/blocking_search.h"

namespace cli {
namespace {

using Clock = std::chrono::steady_clock;

// Real devices may take many seconds to come back on a new address; a
// search every two seconds finds them soon after without crowding the
// network.
constexpr std::chrono::milliseconds VERIFY_EVERY{2000};
constexpr std::chrono::milliseconds VERIFY_WINDOW{1500};

}  // namespace

bool SearchDevices(std::chrono::milliseconds window, std::uint32_t adapter,
                   std::vector<FoundDevice>* devices, Remarks remarks) {
  WarnOfStrictPathFilter(adapter);
  SearchOptions options;
  options.window = window;
  options.collisions = CollisionRule::ListAll;
  options.adapter = adapter;
  options.rowCap = LISTED_DEVICES;
  // FoundDevices sorts by number, once, and writes the numbers itself.
  options.order = RowOrder::Arrival;
  options.texts = RowTexts::DeviceTexts;
  BlockingSearch search(options);
  if (search.Run() != SearchStart::Started) return false;
  const std::vector<LocalAdapter> local = LocalAdapters();
  *devices = FoundDevices(search.Rows(), local);
  if (remarks == Remarks::Quiet) return true;
  const std::string beyond =
      BeyondCapText(search.TurnedAwayDevices(), LISTED_DEVICES);
  if (!beyond.empty()) Tell(beyond);
  if (devices->empty())
    for (const std::string& line : NothingAnsweredLines(local, adapter))
      Tell(line);
  return true;
}

VerifyOutcome VerifyChanges(const std::vector<DeviceInfo>& bodies,
                            std::chrono::milliseconds limit,
                            std::uint32_t adapter) {
  VerifyOutcome outcome;
  outcome.confirmed.assign(bodies.size(), false);
  outcome.answers.resize(bodies.size());
  std::size_t left = bodies.size();
  const Clock::time_point start = Clock::now();
  Clock::time_point round = start;
  while (left > 0) {
    std::vector<FoundDevice> devices;
    if (!SearchDevices(VERIFY_WINDOW, adapter, &devices, Remarks::Quiet)) {
      outcome.engineFailed = true;
      return outcome;
    }
    for (std::size_t i = 0; i < bodies.size(); ++i) {
      for (const FoundDevice& device : devices) {
        if (outcome.confirmed[i] ||
            device.info.macAddress != bodies[i].macAddress ||
            !ShowsSettings(device.info, bodies[i]))
          continue;
        outcome.confirmed[i] = true;
        outcome.answers[i] = device;
        --left;
      }
    }
    round += VERIFY_EVERY;
    if (left == 0 || round - start >= limit) break;
    std::this_thread::sleep_until(round);
  }
  return outcome;
}

}  // namespace cli
