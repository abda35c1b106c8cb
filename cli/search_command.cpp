#include "cli/commands.h"
#include "cli/messages.h"
#include "cli/network.h"

namespace cli {

int SearchCommand(const Options& options) {
  std::vector<FoundDevice> devices;
  if (!SearchDevices(options.timeout, options.adapter, &devices))
    return EXIT_NETWORK_FAILURE;
  switch (options.format) {
    case Format::Json:
      Emit(DevicesJson(devices));
      break;
    case Format::Csv:
      Emit(DevicesCsv(devices));
      break;
    case Format::Table:
      Emit(DevicesTable(devices));
      break;
  }
  if (devices.empty()) {
    Tell("no device answered");
    return EXIT_NOT_FOUND;
  }
  return EXIT_DONE;
}

}  // namespace cli
