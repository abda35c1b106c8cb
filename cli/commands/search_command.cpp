#include <ctime>
#include <utility>

#include "cli/commands/commands.h"
#include "cli/commands/report_output.h"
#include "cli/device/device_fields.h"
#include "cli/device/site_sheet.h"
#include "cli/format/messages.h"
#include "cli/network/engine_discovery.h"
#include "core/engine/local_adapters.h"
#include "platform/computer_name.h"

namespace cli {
namespace {

// The hand-over sheet of the search that just ran.
WorkbookSheet SiteSheet(const Options& options,
                        const std::vector<FoundDevice>& devices) {
  SiteFacts facts;
  char when[32] = {};
  const std::time_t now = std::time(nullptr);
  std::strftime(when, sizeof when, "%Y-%m-%d %H:%M", std::localtime(&now));
  facts.searched = when;
  facts.computer = ComputerName();
  for (const LocalAdapter& adapter : LocalAdapters())
    if (!options.adapter || adapter.address == options.adapter)
      facts.adapters.push_back(WithPrefix(adapter.address, adapter.mask));
  facts.version = QUELLAN_VERSION;
  SiteRows site = SiteSheetRows(facts, devices);
  return {"Site", std::move(site.rows), site.headerRow};
}

}  // namespace

int SearchCommand(const Options& options) {
  EngineDiscovery discovery(options.adapter, SearchProtocols(options));
  const SearchOutcome searched =
      discovery.Search(options.timeout, Remarks::Say);
  if (searched.status != LinkStatus::Done) return EXIT_NETWORK_FAILURE;
  const std::vector<FoundDevice>& devices = searched.found.devices;
  const DeviceColumns columns = DeviceColumnsOf(options);
  if (options.output.empty() && options.format != Format::Xlsx) {
    // Straight to standard output, a piece at a time.
    WriteDevices(devices, columns, options.format, Emit);
  } else {
    Report report;
    report.text = Collected([&](const TextSink& write) {
      WriteDevices(devices, columns, options.format, write);
    });
    if (options.format == Format::Xlsx)
      report.site = SiteSheet(options, devices);
    if (!Deliver(options, report)) return EXIT_REFUSED;
  }
  // The search has said on standard error that no device answered.
  return devices.empty() ? EXIT_NOT_FOUND : EXIT_DONE;
}

}  // namespace cli
