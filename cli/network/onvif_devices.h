// The ONVIF devices among a search's WS-Discovery answers, as rows of the
// command line's one table beside the devices of our protocol.
#pragma once

#include <cstdint>
#include <string>
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

// The search's one de-duplication of ONVIF answers. Answers are one device
// when they have the same identity (Identity in found_device.h): the MAC
// its scopes state, else its endpoint, else (no endpoint) the address and
// interface it answered from; so one device that answers both probes, both
// rounds and several adapters is one row, and devices that share an
// endpoint but state different MACs, or name no endpoint and answer from
// different places, stay apart. The first answer of a device gives its
// row; the others add the interfaces that heard them.
// - its address is the host of its first IPv4-literal XAddr outside
//   169.254/16, preferring the subnet of the adapter the answer came in on,
//   else the answer's source;
// - its MAC is the one its scopes give (MacSource::Scope); else the
//   neighbour table's entry for its address on the interface that heard the
//   answer, only when the XAddr host is the address it answered from and no
//   other ONVIF row would get the same entry (MacSource::Neighbour, a
//   guess: in a real address conflict the entry may be the other device's);
//   else unknown.
std::vector<OnvifHeard> OnvifDevices(const std::vector<OnvifAnswer>& answers,
                                     const std::vector<LocalAdapter>& local,
                                     const std::vector<Neighbour>& neighbours);

// `devices` (our protocol's, placed) with each placed ONVIF device merged
// into the one of the same MAC, or added; never merged by address alone:
// two devices on one address are a conflict, not one device. A merge on a
// neighbour table's MAC is a presumption the row keeps (its macSource
// stays Neighbour); one on a stated MAC is not.
void MergeOnvif(std::vector<FoundDevice> onvif,
                std::vector<FoundDevice>* devices);

}  // namespace cli
