// The commands' discovery on the engine: searches, change requests paced
// through the adapters of their device's broadcast domain, searches that
// verify them, and the neighbour table's word on whether an address is
// held.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/network/discovery.h"
#include "cli/network/network.h"
#include "core/engine/local_adapters.h"

namespace cli {

class EngineDiscovery : public Discovery {
 public:
  // `adapterOption` is --adapter (0: every adapter); Search asks in
  // `protocols`, the searches that verify changes in ours and, when
  // `protocols` has ONVIF, in ONVIF too.
  EngineDiscovery(std::uint32_t adapterOption, Protocols protocols);

  SearchOutcome Search(std::chrono::milliseconds window,
                       Remarks remarks) override;
  SendOutcome Send(const std::vector<ChangeRequest>& requests,
                   const SendWatch& watch) override;
  VerifyOutcome Verify(const std::vector<ChangeRequest>& expected,
                       const std::vector<std::uint32_t>& domains,
                       std::chrono::milliseconds limit,
                       const VerifyWatch& watch) override;
  ProbeOutcome Probe(const std::vector<std::uint32_t>& addresses,
                     std::uint32_t domain) override;

 private:
  Through ThroughDomains(const std::vector<std::uint32_t>& domains) const;

  const std::uint32_t adapterOption_;
  const Protocols protocols_;
  BroadcastDomains domains_;  // as the last search found them
  ReplyBodies bodies_;        // of every device the searches heard
  const std::vector<LocalAdapter> local_;
};

}  // namespace cli
