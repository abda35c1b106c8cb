// The ONVIF devices among a search's WS-Discovery answers, as rows of the
// command line's one table beside the devices of our protocol.
#pragma once

#include <cstdint>
#include <vector>

#include "cli/device/found_device.h"
#include "core/engine/local_adapters.h"
#include "core/wsdiscovery/onvif_search.h"
#include "platform/neighbour_table.h"

namespace cli {

// One ONVIF device and the interfaces that heard it.
struct OnvifHeard {
  FoundDevice device;  // not yet placed in a broadcast domain
  std::vector<std::uint32_t> interfaces;
};

// One row per device (by MAC when known, else by endpoint), whatever number
// of adapters and probes it answered:
// - its address is the host of its first IPv4-literal XAddr outside
//   169.254/16, preferring the subnet of the adapter the answer came in on,
//   else the answer's source;
// - its MAC is the one its scopes give; else the neighbour table's entry for
//   its address, only when the XAddr host is the address it answered from
//   and no other ONVIF row would get the same entry; else unknown. In a real
//   address conflict the table may hold the other device's MAC.
std::vector<OnvifHeard> OnvifDevices(const std::vector<OnvifAnswer>& answers,
                                     const std::vector<LocalAdapter>& local,
                                     const std::vector<Neighbour>& neighbours);

// `devices` (our protocol's, placed) with each placed ONVIF device merged
// into the one of the same MAC, or added; never merged by address alone:
// two devices on one address are a conflict, not one device.
void MergeOnvif(std::vector<FoundDevice> onvif,
                std::vector<FoundDevice>* devices);

}  // namespace cli
