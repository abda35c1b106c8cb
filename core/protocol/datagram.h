// The discovery datagrams: layouts, constants and the codec that builds and
// reads them. Pure functions over byte buffers; nothing here touches a socket.
//
// Every field is read and written byte by byte in little-endian order, so the
// layout never depends on the host's endianness or on struct packing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr std::uint16_t DISCOVERY_PORT = 64988;
constexpr std::uint32_t REQUEST_MAGIC = 0x87345234u;
constexpr std::uint32_t REPLY_MAGIC = 0x10546823u;
constexpr std::uint32_t CMD_SEARCH = 0x0501u;
constexpr std::uint32_t CMD_CHANGE_IP = 0x0502u;
constexpr std::uint32_t CMD_SEARCH_REPLY = 0x1501u;
constexpr std::int32_t IP_MODE_FIXED = 0;
constexpr std::int32_t IP_MODE_DHCP = 1;
constexpr std::int32_t IP_MODE_PPPOE = 2;

constexpr std::size_t HEADER_SIZE = 24;
constexpr std::size_t DEVICE_INFO_SIZE = 72;
constexpr std::size_t DATAGRAM_SIZE = HEADER_SIZE + DEVICE_INFO_SIZE;  // 96
constexpr std::size_t RECEIVE_BUFFER_SIZE = 256;
constexpr std::size_t DEVICE_TEXT_SIZE = 16;
// Model name and firmware count only when the body is longer than this.
constexpr std::int32_t TEXT_BODY_THRESHOLD = 40;
// The limited broadcast address 255.255.255.255, numeric form.
constexpr std::uint32_t BROADCAST_ADDRESS = 0xFFFFFFFFu;
constexpr std::uint32_t LOOPBACK_ADDRESS = 0x7F000001u;

struct DiscoveryHeader {
  std::uint32_t magic = 0;
  std::uint32_t command = 0;
  std::uint32_t param1 = 0;
  std::uint32_t param2 = 0;
  std::uint32_t param3 = 0;
  std::int32_t bodyLength = 0;
};

using DeviceText = std::array<std::uint8_t, DEVICE_TEXT_SIZE>;

// The 72-byte body of replies and change requests. Addresses are held in the
// numeric form (a << 24) | (b << 16) | (c << 8) | d for a.b.c.d. Every byte of
// the body has a field here, so a parse followed by a serialise is exact.
struct DeviceInfo {
  std::array<std::uint8_t, 6> macAddress{};  // a MacAddress
  std::array<std::uint8_t, 2> reserved1{};
  std::int32_t ipMode = 0;
  std::uint32_t ipAddress = 0;
  std::uint32_t gateway = 0;
  std::uint32_t subnetMask = 0;
  std::int32_t basePort = 0;
  std::int32_t httpPort = 0;
  std::array<std::uint8_t, 8> reserved2{};
  DeviceText modelName{};
  DeviceText firmware{};

  bool operator==(const DeviceInfo& other) const;
};

using MacAddress = std::array<std::uint8_t, 6>;

// The six network settings of a device, as the IP change dialogs, the
// command line and the change requests all take them. The addresses are in
// the numeric form of DeviceInfo, whoever fills them: byte order is the
// codec's business on the wire and the socket seam's in a sockaddr, nobody
// else's.
struct IpSettings {
  std::int32_t ipMode = 0;
  std::uint32_t ipAddress = 0;
  std::uint32_t subnetMask = 0;
  std::uint32_t gateway = 0;
  std::int32_t basePort = 0;
  std::int32_t httpPort = 0;

  bool operator==(const IpSettings& other) const;
  bool operator!=(const IpSettings& other) const { return !(*this == other); }
};

struct DecodedReply {
  DeviceInfo info;
  std::int32_t bodyLength = 0;
};

std::uint32_t ReadU32(const std::uint8_t* bytes);
void WriteU32(std::uint8_t* bytes, std::uint32_t value);

DiscoveryHeader ReadHeader(const std::uint8_t* datagram);
void WriteHeader(const DiscoveryHeader& header, std::uint8_t* datagram);
DeviceInfo ParseDeviceInfo(const std::uint8_t* body);
void SerializeDeviceInfo(const DeviceInfo& info, std::uint8_t* body);

// 24 bytes without a body, 96 with one. bodyLength stays 0 either way.
std::vector<std::uint8_t> EncodeRequest(std::uint32_t command,
                                        const DeviceInfo* body);
// A search reply carrying `info` into the first 96 bytes of `datagram`, with
// `bodyLength` as given (a device may state any length).
void WriteSearchReply(const DeviceInfo& info, std::int32_t bodyLength,
                      std::uint8_t* datagram);
// `buffer` holds at least 8 bytes (the receive buffer always holds 256).
bool IsSearchReply(const std::uint8_t* buffer);
bool IsSearchRequest(const std::uint8_t* buffer);
// `buffer` is a zero-filled 256-byte receive buffer, so a short reply yields
// zero bytes for what it lacks.
DecodedReply DecodeDeviceInfo(const std::uint8_t* buffer);
// Writes the six settings into `info`; every other byte of it is kept.
void ApplyIpSettings(DeviceInfo& info, const IpSettings& settings);
IpSettings SettingsFromDeviceInfo(const DeviceInfo& info);
std::array<std::uint8_t, DATAGRAM_SIZE> EncodeTestReply(
    const std::uint8_t* request);

// The six MAC bytes as one number, first byte highest: a key for the
// tables that index devices by MAC.
std::uint64_t MacKey(const MacAddress& mac);

// Text forms shown in the device list.
std::wstring AddressText(std::uint32_t numeric);
std::wstring MacText(const std::array<std::uint8_t, 6>& mac);
std::wstring PortText(std::int32_t port);
std::wstring IpModeText(std::int32_t mode);
// Up to the first zero byte, never beyond the 16 bytes of the area; empty when
// the body is too short to carry texts.
std::wstring DeviceTextOf(const DeviceText& area, std::int32_t bodyLength);
// Parses "a.b.c.d" into the numeric form; false for anything else.
bool ParseAddress(const std::string& text, std::uint32_t* numeric);
// Parses a MAC address, first byte first, hex digits in either case, in the
// forms "00:1A:2B:00:01:03", "00-1A-2B-00-01-03", "001A2B000103" and
// "001a.2b00.0103"; false (and `mac` untouched) for anything else. MacText
// writes the first form.
bool ParseMac(const std::string& text, std::array<std::uint8_t, 6>* mac);
// The value of one hex digit in either case; -1 for any other character.
int HexValue(char c);
