// One emulated device: the body it answers with plus the knobs that make it
// misbehave in the ways a device table has to survive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/protocol/datagram.h"

namespace devsim {

constexpr int MAX_REPEAT = 16;
// The largest UDP payload that crosses an Ethernet link unfragmented.
constexpr std::size_t MAX_REPLY_SIZE = 1472;

// Which discovery protocols a device answers: ours, ONVIF WS-Discovery, or
// both on one MAC, as a site of several makers has them.
enum class Protocols { Quellan, Onvif, QuellanAndOnvif };

// How a device writes its MAC scope, if it gives one at all: makers differ.
enum class MacScope { None, Colons, Hyphens, Bare };

// What an ONVIF device tells of itself in its ProbeMatch.
struct OnvifIdentity {
  std::string name;
  std::string hardware;
  std::string location;  // empty: no location scope
  std::string endpoint;  // "urn:uuid:...", stable across address changes
  MacScope macScope = MacScope::None;
  // A 169.254/16 service address listed before the routable one; 0 for none.
  std::uint32_t linkLocal = 0;
};

struct SimDevice {
  DeviceInfo info;
  // Written into the reply header as is; 40 or less hides the texts.
  std::int32_t bodyLength = static_cast<std::int32_t>(DEVICE_INFO_SIZE);
  // Replies per search; 0 makes a device that only listens.
  int repeat = 1;
  // Bytes actually sent: shorter cuts the reply, longer pads it with zeros.
  std::size_t replySize = DATAGRAM_SIZE;
  Protocols protocols = Protocols::Quellan;
  OnvifIdentity onvif;  // used only when the device answers ONVIF
};

inline bool AnswersQuellan(const SimDevice& device) {
  return device.protocols != Protocols::Onvif;
}
inline bool AnswersOnvif(const SimDevice& device) {
  return device.protocols != Protocols::Quellan;
}

}  // namespace devsim
