// quellan-search: one search from the command line with the discovery engine.
// Prints every device that answered, one line each, and how long the search
// took to hear them all.
//
//   quellan-search [--seconds S] [--expect N]
//
// With --expect the search ends as soon as N distinct devices have answered.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "discovery/datagram.h"
#include "discovery/engine.h"

namespace {

struct Found {
  DecodedReply reply;
  std::chrono::steady_clock::duration after;
};

std::mutex foundLock;
std::map<std::wstring, Found> found;  // by MAC text
std::chrono::steady_clock::time_point searchStart;

std::int32_t OnDatagram(const std::uint8_t* buffer, std::int32_t,
                        const net::Endpoint&) {
  if (!IsSearchReply(buffer)) return 0;
  const DecodedReply reply = DecodeDeviceInfo(buffer);
  if (reply.info.ipAddress == LOOPBACK_ADDRESS) return 0;
  std::lock_guard<std::mutex> hold(foundLock);
  found.emplace(MacText(reply.info.macAddress),
                Found{reply, std::chrono::steady_clock::now() - searchStart});
  return 0;
}

std::size_t FoundCount() {
  std::lock_guard<std::mutex> hold(foundLock);
  return found.size();
}

int Usage() {
  std::fprintf(stderr, "usage: quellan-search [--seconds S] [--expect N]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 3;
  std::size_t expect = 0;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc)
      seconds = std::atof(argv[++i]);
    else if (!std::strcmp(argv[i], "--expect") && i + 1 < argc)
      expect = std::strtoul(argv[++i], nullptr, 10);
    else
      return Usage();
  }
  if (seconds <= 0) return Usage();

  searchStart = std::chrono::steady_clock::now();
  if (DiscoveryStart(OnDatagram) != 1) {
    std::fprintf(stderr, "IP discovery module initialize error.\n");
    return 1;
  }
  DiscoverySend(CMD_SEARCH, nullptr);
  const auto end = searchStart + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end &&
         (expect == 0 || FoundCount() < expect))
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  DiscoveryStop();

  std::lock_guard<std::mutex> hold(foundLock);
  std::chrono::steady_clock::duration last{};
  std::printf("%-17s  %-15s  %-15s  %-15s  %6s  %6s  %-12s  %-16s  %s\n", "MAC",
              "IP", "Mask", "Gateway", "Base", "HTTP", "Mode", "Model",
              "Firmware");
  for (const auto& [mac, device] : found) {
    const DeviceInfo& info = device.reply.info;
    const std::int32_t length = device.reply.bodyLength;
    std::printf(
        "%-17ls  %-15ls  %-15ls  %-15ls  %6ls  %6ls  %-12ls  %-16ls  %ls\n",
        mac.c_str(), AddressText(info.ipAddress).c_str(),
        AddressText(info.subnetMask).c_str(), AddressText(info.gateway).c_str(),
        PortText(info.basePort).c_str(), PortText(info.httpPort).c_str(),
        IpModeText(info.ipMode).c_str(),
        DeviceTextOf(info.modelName, length).c_str(),
        DeviceTextOf(info.firmware, length).c_str());
    if (device.after > last) last = device.after;
  }
  std::printf(
      "Found %zu devices; the last answered %.0f ms after the request\n",
      found.size(), std::chrono::duration<double, std::milli>(last).count());
  return expect != 0 && found.size() < expect ? 1 : 0;
}
