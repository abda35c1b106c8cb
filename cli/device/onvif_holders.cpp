#include "cli/device/onvif_holders.h"

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

}  // namespace cli
