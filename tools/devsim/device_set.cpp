#include "tools/devsim/device_set.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "tools/devsim/text_form.h"

namespace devsim {
namespace {

const char* const MODELS[] = {
    "QC-2040",       "QC-3120-IR",     "QV-NVR16",   "QD-Dome-2MP",
    "QB-Bullet-5MP", "QE-Encoder-1CH", "QT-PTZ-30X", "QF-Fisheye-12M",
    "QV-DVS4",       "QC-Mini-W",
};
const std::int32_t BASE_PORTS[] = {8000, 5000, 3001, 37777};
const std::int32_t HTTP_PORTS[] = {80, 8080, 8888};

bool Usable(std::uint32_t address, const Subnet& subnet) {
  const std::uint32_t mask = PrefixMask(subnet.prefix);
  const std::uint32_t broadcast = subnet.network | ~mask;
  const std::uint32_t last = address & 0xFFu;
  return address != subnet.network && address != broadcast && last != 0 &&
         last != 255;
}

SimDevice MakeDevice(std::uint32_t index, std::uint32_t address,
                     const Subnet& subnet, int repeat) {
  SimDevice device;
  device.repeat = repeat;
  DeviceInfo& info = device.info;
  const std::uint32_t serial = index + 1;
  info.macAddress = {0x02,
                     0x51,
                     0x4C,
                     static_cast<std::uint8_t>(serial >> 16),
                     static_cast<std::uint8_t>(serial >> 8),
                     static_cast<std::uint8_t>(serial)};
  info.reserved1 = {0xA5, static_cast<std::uint8_t>(index)};
  info.reserved2 = {'Q',
                    'S',
                    static_cast<std::uint8_t>(index >> 24),
                    static_cast<std::uint8_t>(index >> 16),
                    static_cast<std::uint8_t>(index >> 8),
                    static_cast<std::uint8_t>(index),
                    0x00,
                    0xFF};
  info.ipMode = index % 10 == 7 ? IP_MODE_DHCP : IP_MODE_FIXED;
  info.ipAddress = address;
  info.subnetMask = PrefixMask(subnet.prefix);
  info.gateway = subnet.network + 1;
  info.basePort = BASE_PORTS[index % 4];
  info.httpPort = HTTP_PORTS[(index / 4) % 3];
  MakeDeviceText(MODELS[index % std::size(MODELS)], &info.modelName);
  char firmware[24];
  std::snprintf(firmware, sizeof firmware, "V%u.%u.%u.%04u", 1 + index % 3,
                index % 7, (index * 7) % 31, 1000 + (index * 37) % 9000);
  MakeDeviceText(firmware, &info.firmware);
  return device;
}

}  // namespace

std::uint32_t PrefixMask(int prefix) {
  if (prefix <= 0) return 0;
  return 0xFFFFFFFFu << (32 - prefix);
}

bool ParseSubnet(const std::string& text, Subnet* subnet, std::string* error) {
  const std::size_t slash = text.find('/');
  std::uint32_t network = 0;
  std::int32_t prefix = 0;
  if (slash == std::string::npos ||
      !ParseAddress(text.substr(0, slash), &network) ||
      !ParseInt32(text.substr(slash + 1), &prefix)) {
    *error = "bad subnet '" + text + "' (expected a.b.c.d/prefix)";
    return false;
  }
  if (prefix < 8 || prefix > 30) {
    *error = "subnet prefix of '" + text + "' must be 8 to 30";
    return false;
  }
  if ((network & ~PrefixMask(prefix)) != 0) {
    *error = "subnet '" + text + "' has host bits set";
    return false;
  }
  subnet->network = network;
  subnet->prefix = prefix;
  return true;
}

std::size_t SubnetRoom(const Subnet& subnet) {
  const std::uint32_t broadcast = subnet.network | ~PrefixMask(subnet.prefix);
  std::size_t room = 0;
  for (std::uint64_t address =
           static_cast<std::uint64_t>(subnet.network) + FIRST_HOST_OFFSET;
       address < broadcast; ++address) {
    if (Usable(static_cast<std::uint32_t>(address), subnet)) ++room;
  }
  return room;
}

GeneratedSet GenerateDevices(int count, const Subnet& subnet, int repeat) {
  GeneratedSet set;
  if (count < 1 || count > MAX_DEVICES) {
    set.error = "device count must be 1 to " + std::to_string(MAX_DEVICES);
    return set;
  }
  const std::size_t room = SubnetRoom(subnet);
  if (static_cast<std::size_t>(count) > room) {
    set.error = "subnet " + DottedText(subnet.network) + "/" +
                std::to_string(subnet.prefix) + " holds only " +
                std::to_string(room) + " generated devices, not " +
                std::to_string(count) + "; use a shorter prefix";
    return set;
  }
  std::uint32_t address = subnet.network + FIRST_HOST_OFFSET;
  for (int index = 0; index < count; ++index) {
    while (!Usable(address, subnet)) ++address;
    set.devices.push_back(
        MakeDevice(static_cast<std::uint32_t>(index), address, subnet, repeat));
    ++address;
  }
  set.ok = true;
  return set;
}

std::vector<std::uint8_t> BuildReply(const SimDevice& device) {
  std::vector<std::uint8_t> datagram(DATAGRAM_SIZE, 0);
  WriteSearchReply(device.info, device.bodyLength, datagram.data());
  datagram.resize(std::min(device.replySize, MAX_REPLY_SIZE), 0);
  return datagram;
}

namespace {

bool ShownByAnother(const std::vector<SimDevice>& devices,
                    const DeviceInfo& body) {
  for (const SimDevice& device : devices) {
    if (device.info.macAddress != body.macAddress &&
        device.info.ipAddress == body.ipAddress)
      return true;
  }
  return false;
}

}  // namespace

std::vector<AppliedChange> ApplyChangeRequest(std::vector<SimDevice>& devices,
                                              const DeviceInfo& body,
                                              AddressCheck check) {
  std::vector<AppliedChange> changes;
  for (std::size_t i = 0; i < devices.size(); ++i) {
    DeviceInfo& info = devices[i].info;
    // A device that answers only ONVIF does not hear our change requests.
    if (info.macAddress != body.macAddress || !AnswersQuellan(devices[i]))
      continue;
    AppliedChange change{i, info, info};
    change.addressInUse = check == AddressCheck::ConflictDetection &&
                          body.ipAddress != info.ipAddress &&
                          ShownByAnother(devices, body);
    if (!change.addressInUse) {
      ApplyIpSettings(info, SettingsFromDeviceInfo(body));
      change.after = info;
    }
    changes.push_back(change);
  }
  return changes;
}

}  // namespace devsim
