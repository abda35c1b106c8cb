// What the IP change dialogs put into their controls when they open.
#pragma once

#include <cstdint>
#include <string>

#include "core/protocol/datagram.h"

struct IpChangeFields {
  int modeIndex = -1;  // -1: nothing selected
  // Numeric form, as the IP address controls take it.
  std::uint32_t ipAddress = 0;
  std::uint32_t subnetMask = 0;
  std::uint32_t gateway = 0;
  std::wstring basePortText;
  std::wstring httpPortText;
};

// The single-device dialog shows the device's settings as they are.
IpChangeFields FieldsFromSettings(const IpSettings& settings);

// The fixed start values of the multi-device dialog.
IpChangeFields MultiChangeDefaults();

std::wstring ServerCountText(std::int32_t serverCount);
