// Whether this computer still reaches a device after a change of its
// address. A device moved out of the subnet of every adapter of its
// broadcast domain still answers searches (they are broadcasts), but its
// web page and any tool that connects to it do not reach it, and the next
// search marks it so. The change goes all the same (the installer may be
// moving it to the site's own subnet): they are told before, with the way
// to reach it.
#pragma once

#include <string>
#include <vector>

#include "core/engine/local_adapters.h"
#include "core/protocol/datagram.h"

namespace cli {

// The warning for a device `who` changed from `current` to `proposed`,
// whose domain has `adapters`; empty when an adapter's subnet holds the new
// address, when neither its address nor its mask changes, or when the
// domain has no adapter with an address.
std::string LeavingSubnetsWarning(const std::string& who,
                                  const IpSettings& current,
                                  const IpSettings& proposed,
                                  const std::vector<LocalAdapter>& adapters);

// The adapters among `local` whose addresses are `addresses` (a domain's,
// BroadcastDomains::AdapterAddresses), in that order.
std::vector<LocalAdapter> AdaptersWith(
    const std::vector<std::uint32_t>& addresses,
    const std::vector<LocalAdapter>& local);

}  // namespace cli
