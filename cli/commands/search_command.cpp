#include "cli/commands/commands.h"
#include "cli/commands/report_output.h"
#include "cli/device/device_fields.h"
#include "cli/format/messages.h"
#include "cli/network/engine_discovery.h"

namespace cli {

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
    if (!Deliver(options, report)) return EXIT_REFUSED;
  }
  // The search has said on standard error that no device answered.
  return devices.empty() ? EXIT_NOT_FOUND : EXIT_DONE;
}

}  // namespace cli
