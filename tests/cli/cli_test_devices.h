// Devices for the command line's unit tests, built the way a search reply
// would give them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/device/found_device.h"
#include "cli/device/settings_edit.h"

namespace cli {

constexpr std::uint32_t Ip(int a, int b, int c, int d) {
  return static_cast<std::uint32_t>(a) << 24 |
         static_cast<std::uint32_t>(b) << 16 |
         static_cast<std::uint32_t>(c) << 8 | static_cast<std::uint32_t>(d);
}

constexpr std::uint32_t MASK24 = 0xFFFFFF00u;

inline Mac MacOf(std::uint8_t last) {
  return {0x02, 0x00, 0x5E, 0xC1, 0x00, last};
}

// A fixed-IP device on 10.77.0.0/24 with gateway 10.77.0.1 and ports
// 8000/80, heard through the adapter 10.77.0.1 (interface 2).
inline FoundDevice Device(std::uint8_t macLast, std::uint32_t ip) {
  FoundDevice device;
  device.mac = MacOf(macLast);
  device.settings.ipMode = IP_MODE_FIXED;
  device.settings.ipAddress = ip;
  device.settings.subnetMask = MASK24;
  device.settings.gateway = Ip(10, 77, 0, 1);
  device.settings.basePort = 8000;
  device.settings.httpPort = 80;
  device.place.domain = 2;
  device.place.adapter = Ip(10, 77, 0, 1);
  return device;
}

// The search row that reports `device`, its texts in a full body.
inline DeviceRow RowOf(const FoundDevice& device) {
  DeviceRow row;
  row.record.macAddress = *device.mac;
  ApplyIpSettings(row.record, device.settings);
  auto write = [](const std::string& text, DeviceText* area) {
    for (std::size_t i = 0; i < text.size() && i < area->size(); ++i)
      (*area)[i] = static_cast<std::uint8_t>(text[i]);
  };
  write(device.model, &row.record.modelName);
  write(device.firmware, &row.record.firmware);
  row.bodyLength = static_cast<std::int32_t>(DEVICE_INFO_SIZE);
  return row;
}

}  // namespace cli
