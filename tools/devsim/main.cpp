// quellan-devsim: stands in for network video devices on the discovery port.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/file_read.h"
#include "platform/program_arguments.h"
#include "platform/stop_signal.h"
#include "tools/devsim/device_csv.h"
#include "tools/devsim/device_set.h"
#include "tools/devsim/options.h"
#include "tools/devsim/process_hooks.h"
#include "tools/devsim/simulator.h"

namespace {

constexpr int USAGE_ERROR = 2;
constexpr int DEVICE_FILE_ERROR = 3;

std::uint64_t FreshRandomStart() {
  std::random_device device;
  const std::uint64_t clock = static_cast<std::uint64_t>(
      std::chrono::steady_clock::now().time_since_epoch().count());
  return (static_cast<std::uint64_t>(device()) << 32) ^ device() ^ clock;
}

int Fail(int status, const std::string& message) {
  std::fprintf(stderr, "quellan-devsim: %s\n", message.c_str());
  if (status == USAGE_ERROR) {
    std::fprintf(stderr, "Run 'quellan-devsim --help' for the options.\n");
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const devsim::OptionsResult parsed =
      devsim::ParseOptions(ProgramArguments(argc, argv));
  if (!parsed.ok) return Fail(USAGE_ERROR, parsed.error);
  const devsim::Options& options = parsed.options;
  if (options.help) {
    std::fputs(devsim::UsageText().c_str(), stdout);
    return 0;
  }

  std::vector<devsim::SimDevice> devices;
  if (!options.devicesPath.empty()) {
    const FileRead file = ReadWholeFile(options.devicesPath);
    if (!file.ok) {
      return Fail(DEVICE_FILE_ERROR,
                  "cannot read the device file '" + options.devicesPath + "'");
    }
    devsim::CsvResult read =
        devsim::ReadDeviceCsv(file.bytes, options.devicesPath, options.repeat);
    if (!read.ok) return Fail(DEVICE_FILE_ERROR, read.error);
    if (read.devices.empty()) {
      return Fail(DEVICE_FILE_ERROR, options.devicesPath + ": no devices");
    }
    devices = std::move(read.devices);
  } else {
    devsim::GeneratedSet generated =
        devsim::GenerateDevices(options.count, options.subnet, options.repeat);
    if (!generated.ok) return Fail(USAGE_ERROR, generated.error);
    devices = std::move(generated.devices);
  }

  if (options.printDevices) {
    std::fputs(devsim::WriteDeviceCsv(devices).c_str(), stdout);
    return 0;
  }

  InstallStopHandlers();
  devsim::RequestFineTimer();
  const std::uint64_t randomStart =
      options.haveRandomStart ? options.randomStart : FreshRandomStart();
  return devsim::RunSimulator(options, randomStart, std::move(devices));
}
