// The discovery engine's side of the seam (engine_discovery.h): one search
// through the engine, and the adapters a search or a change goes through.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "cli/network/discovery.h"

namespace cli {

// The adapters a search or a change goes through: every one (none named),
// or those with the given local addresses (--adapter, a device's domain).
using Through = std::vector<std::uint32_t>;
Through ThroughOption(std::uint32_t adapter);

// The adapters a change in `domain` goes through: the one --adapter names,
// or else those of the domain.
Through DomainThrough(const BroadcastDomains& domains, std::uint32_t domain,
                      std::uint32_t adapterOption);

// The adapters a change of `device` goes through (DomainThrough). None when
// the device was heard only on interfaces without an IPv4 address: no
// request can reach it.
Through ChangeThrough(const Findings& found, const FoundDevice& device,
                      std::uint32_t adapterOption);

// The body of each device's reply by its MacKey: a change request repeats
// every byte of it but the six settings.
using ReplyBodies = std::unordered_map<std::uint64_t, DeviceInfo>;

// One search of `window` through `through` in `protocols`, listing only the
// devices heard on those adapters, whose bodies join `bodies`; false when the
// engine did not start (its message is on standard error).
bool SearchDevices(std::chrono::milliseconds window, const Through& through,
                   Protocols protocols, Findings* found, ReplyBodies* bodies,
                   Remarks remarks);

}  // namespace cli
