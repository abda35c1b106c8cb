#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

#include "cli/commands/commands.h"
#include "cli/commands/watch_diff.h"
#include "cli/format/messages.h"
#include "cli/network/engine_discovery.h"
#include "platform/stop_signal.h"

namespace cli {
namespace {

using Clock = std::chrono::steady_clock;

// Each search listens as long as the window tool's does.
constexpr std::chrono::milliseconds WATCH_WINDOW{3000};
// How soon a stop request is noticed between searches.
constexpr std::chrono::milliseconds STOP_POLL{100};

std::string LocalTime() {
  const std::time_t now = std::time(nullptr);
  char text[16] = "";
  std::strftime(text, sizeof text, "%H:%M:%S", std::localtime(&now));
  return text;
}

}  // namespace

int WatchCommand(const Options& options) {
  InstallStopHandlers();
  EngineDiscovery discovery(options.adapter, SearchProtocols(options));
  WatchState state;
  const std::chrono::seconds every(options.intervalSeconds);
  Clock::time_point next = Clock::now();
  // Only the first search says what it could not list or why nothing
  // answered: a watch of an empty network would repeat it every few seconds.
  Remarks remarks = Remarks::Say;
  while (!StopRequested()) {
    const SearchOutcome searched = discovery.Search(WATCH_WINDOW, remarks);
    if (searched.status != LinkStatus::Done) return EXIT_NETWORK_FAILURE;
    const Findings& found = searched.found;
    // The table's header goes out once the engine runs, before any event.
    if (remarks == Remarks::Say && options.format != Format::Json)
      Emit(WatchTableHeader(DeviceColumnsOf(options)) + "\n");
    remarks = Remarks::Quiet;
    for (const WatchEvent& event : state.Update(found.devices, found.domains)) {
      Emit(options.format == Format::Json
               ? WatchEventJson(event, DeviceColumnsOf(options)) + "\n"
               : WatchEventText(LocalTime(), event, DeviceColumnsOf(options)) +
                     "\n");
    }
    next += every;
    while (!StopRequested() && Clock::now() < next) {
      std::this_thread::sleep_for(
          std::min<Clock::duration>(STOP_POLL, next - Clock::now()));
    }
  }
  return EXIT_DONE;
}

}  // namespace cli
