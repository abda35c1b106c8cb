#include "cli/device/onvif_holders.h"

#include "cli/format/text_formats.h"

namespace cli {

std::vector<OnvifHolder> OnvifHolders(const std::vector<FoundDevice>& devices) {
  std::vector<OnvifHolder> holders;
  for (const FoundDevice& device : devices) {
    if (!device.onvif) continue;
    OnvifHolder holder;
    holder.domain = device.place.domain;
    holder.address = device.onvif->address;
    holder.identity = Identity(device);
    holder.label = OnvifLabel(*device.onvif);
    if (device.heardBy == HeardBy::Both) {
      holder.tie = device.macSource == MacSource::Neighbour
                       ? OnvifTie::NeighbourMac
                       : OnvifTie::StatedMac;
      holder.ours = device.mac;
    }
    holders.push_back(std::move(holder));
  }
  return holders;
}

std::string ProblemText(const ChangeProblem& problem,
                        const std::vector<FoundDevice>& devices,
                        std::uint32_t domain) {
  if (problem.kind == ChangeProblemKind::ShownByDevice)
    for (const FoundDevice& device : devices)
      if (!Changeable(device) && device.place.domain == domain &&
          device.settings.ipAddress == problem.address &&
          device.mac.value_or(MacAddress{}) == problem.other)
        return Dotted(problem.address) + " is already the address of " +
               DeviceLabel(device);
  return OneLine(ChangeProblemMessage(problem));
}

}  // namespace cli
