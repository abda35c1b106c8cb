// The apply's link on the discovery engine: change requests paced through
// the adapters of their device's broadcast domain, searches that verify
// them, and the neighbour table's word on whether an address is held.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/apply_link.h"
#include "cli/network.h"
#include "core/engine/local_adapters.h"

namespace cli {

class EngineLink : public ApplyLink {
 public:
  // `found` is the search the changes were judged on; `adapterOption` is
  // --adapter (0: none).
  EngineLink(const Findings& found, std::uint32_t adapterOption);

  SendOutcome Send(const std::vector<ChangeRequest>& requests) override;
  VerifyOutcome Verify(const std::vector<DeviceInfo>& expected,
                       const std::vector<std::uint32_t>& domains,
                       std::chrono::milliseconds limit) override;
  ProbeOutcome Probe(const std::vector<std::uint32_t>& addresses,
                     std::uint32_t domain) override;

 private:
  Through ThroughDomains(const std::vector<std::uint32_t>& domains) const;

  const BroadcastDomains domains_;
  const std::uint32_t adapterOption_;
  const std::vector<LocalAdapter> local_;
};

}  // namespace cli
