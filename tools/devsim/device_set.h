// The emulated devices as data: generating a set, building the reply a device
// sends and applying a change request. No sockets here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/protocol/datagram.h"
#include "tools/devsim/sim_device.h"

namespace devsim {

constexpr int MAX_DEVICES = 100000;
// Generated addresses start this far into the subnet, clear of the gateway
// and of the hosts a test network puts at the bottom of it.
constexpr std::uint32_t FIRST_HOST_OFFSET = 10;

struct Subnet {
  std::uint32_t network = 0;
  int prefix = 0;
};

// "a.b.c.d/p" with 8 <= p <= 30 and no host bits set.
bool ParseSubnet(const std::string& text, Subnet* subnet, std::string* error);
std::uint32_t PrefixMask(int prefix);
// How many devices GenerateDevices can place in the subnet.
std::size_t SubnetRoom(const Subnet& subnet);

struct GeneratedSet {
  bool ok = false;
  std::vector<SimDevice> devices;
  std::string error;
};

// Unique MACs, addresses ascending from FIRST_HOST_OFFSET that skip the
// network and broadcast addresses and every x.x.x.0 and x.x.x.255, gateway
// at the first host, and models, firmware, ports and reserved bytes that
// vary with the index but never with the run.
GeneratedSet GenerateDevices(int count, const Subnet& subnet, int repeat);

// The datagram a device sends: header with the device's bodyLength, its full
// body, then cut or padded to its replySize.
std::vector<std::uint8_t> BuildReply(const SimDevice& device);

struct AppliedChange {
  std::size_t device = 0;
  DeviceInfo before;
  DeviceInfo after;  // as before when the device kept its settings
  // The new address is shown by another device, so the device kept its
  // settings (AddressCheck::ConflictDetection only).
  bool addressInUse = false;
};

enum class AddressCheck { None, ConflictDetection };

// Every device whose MAC equals the body's takes the body's ipMode,
// ipAddress, gateway, subnetMask, basePort and httpPort and nothing else
// (a device that answers only ONVIF does not hear the request); with
// ConflictDetection, only if no other device shows the new address.
std::vector<AppliedChange> ApplyChangeRequest(std::vector<SimDevice>& devices,
                                              const DeviceInfo& body,
                                              AddressCheck check);

}  // namespace devsim
