// What a workbook costs at the command line's largest listing: search's
// report of 65536 devices written as a workbook, or that workbook read back
// as a plan. One step a run, so that a run's peak memory is its step's:
//
//   quellan-bench-workbook write FILE     65536 devices to FILE
//   quellan-bench-workbook read FILE      FILE read as a plan
//
// bench/workbook_figures.md has the figures and how they were taken.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/device/device_fields.h"
#include "cli/plan/plan_file.h"
#include "cli/workbook/workbook_read.h"
#include "cli/workbook/workbook_write.h"
#include "platform/file_read.h"

namespace {

constexpr int DEVICES = 65536;
constexpr std::uint32_t NETWORK = 0x0A600000u;  // 10.96.0.0

std::vector<cli::FoundDevice> Devices() {
  std::vector<cli::FoundDevice> devices(DEVICES);
  for (int i = 0; i < DEVICES; ++i) {
    cli::FoundDevice& device = devices[static_cast<std::size_t>(i)];
    device.mac = MacAddress{0x02,
                            0x51,
                            0x4C,
                            0,
                            static_cast<std::uint8_t>(i >> 8),
                            static_cast<std::uint8_t>(i)};
    device.settings.ipAddress = NETWORK + 2 + static_cast<std::uint32_t>(i);
    device.settings.subnetMask = 0xFFFE0000u;
    device.settings.gateway = NETWORK + 1;
    device.settings.basePort = 8000;
    device.settings.httpPort = 80;
    device.model = "CAM-" + std::to_string(i % 97);
    device.firmware = "V2.0." + std::to_string(i % 13);
    device.place = {1, NETWORK + 1, NETWORK + 1};
  }
  return devices;
}

bool Write(const std::string& path) {
  const std::vector<cli::FoundDevice> devices = Devices();
  const std::string lines = cli::Collected([&](const cli::TextSink& write) {
    cli::WriteDevices(devices, cli::DeviceColumns::Ours, cli::Format::Xlsx,
                      write);
  });
  const cli::WorkbookWritten written =
      cli::WriteWorkbook(path, {{"Devices", cli::ReadSheetLines(lines)}});
  if (!written.ok) std::fprintf(stderr, "%s\n", written.why.c_str());
  return written.ok;
}

bool Read(const std::string& path) {
  const FileRead file = ReadWholeFile(path);
  const cli::WorkbookCells cells = cli::ReadWorkbookCells(file.bytes, "");
  const cli::PlanFile plan =
      cli::ReadPlanRecords(cells.records, path, cli::BlankIp::Kept);
  if (!plan.ok) {
    std::fprintf(stderr, "%s\n", cells.why.c_str());
    for (const std::string& error : plan.errors)
      std::fprintf(stderr, "%s\n", error.c_str());
  }
  std::printf("%zu rows\n", plan.rows.size());
  return plan.ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: quellan-bench-workbook write|read FILE\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  const bool ok =
      std::string(argv[1]) == "write" ? Write(argv[2]) : Read(argv[2]);
  const std::chrono::duration<double> took =
      std::chrono::steady_clock::now() - start;
  std::printf("%s: %.2f s\n", argv[1], took.count());
  return ok ? 0 : 1;
}
