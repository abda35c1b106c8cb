#include "cli/commands.h"
#include "cli/messages.h"
#include "cli/network.h"

namespace cli {

int SearchCommand(const Options& options) {
  Findings found;
  if (!SearchDevices(options.timeout, ThroughOption(options.adapter), &found))
    return EXIT_NETWORK_FAILURE;
  const std::vector<FoundDevice>& devices = found.devices;
  switch (options.format) {
    case Format::Json:
      WriteDevicesJson(devices, Emit);
      break;
    case Format::Csv:
      WriteDevicesCsv(devices, Emit);
      break;
    case Format::Table:
      Emit(DevicesTable(devices));
      break;
  }
  // The search has said on standard error that no device answered.
  return devices.empty() ? EXIT_NOT_FOUND : EXIT_DONE;
}

}  // namespace cli
