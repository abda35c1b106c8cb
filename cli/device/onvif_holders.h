// The addresses where a search heard ONVIF answers, and who answered there.
// An ONVIF answer holds its address whatever our protocol says of it: a
// camera that shares an address with one of our devices may be merged with
// it on the neighbour table's MAC alone, and the address is not free while
// the camera answers there.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/device/found_device.h"

namespace cli {

// What ties an ONVIF answer to a device of ours.
enum class OnvifTie {
  Alone,         // none: an ONVIF-only row
  StatedMac,     // the MAC it states is ours: one device, for sure
  NeighbourMac,  // the neighbour table's MAC only: a presumption
};

struct OnvifHolder {
  std::uint32_t domain = 0;
  std::uint32_t address = 0;  // where its answer lists it
  std::string identity;       // Identity() of its row
  std::string label;          // how messages name it (OnvifLabel)
  OnvifTie tie = OnvifTie::Alone;
  // The device of ours its answer was merged with, unless Alone.
  std::optional<MacAddress> ours;
};

// One holder per row of `devices` that has an ONVIF answer, in their order.
std::vector<OnvifHolder> OnvifHolders(const std::vector<FoundDevice>& devices);

}  // namespace cli
