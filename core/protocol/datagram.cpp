#include "core/protocol/datagram.h"

#include <algorithm>
#include <cstring>

namespace {

// Offsets inside the 72-byte body.
constexpr std::size_t MAC = 0;
constexpr std::size_t RESERVED1 = 6;
constexpr std::size_t IP_MODE = 8;
constexpr std::size_t IP_ADDRESS = 12;
constexpr std::size_t GATEWAY = 16;
constexpr std::size_t SUBNET_MASK = 20;
constexpr std::size_t BASE_PORT = 24;
constexpr std::size_t HTTP_PORT = 28;
constexpr std::size_t RESERVED2 = 32;
constexpr std::size_t MODEL_NAME = 40;
constexpr std::size_t FIRMWARE = 56;

template <std::size_t N>
void CopyOut(const std::uint8_t* from, std::array<std::uint8_t, N>& to) {
  std::copy(from, from + N, to.begin());
}

template <std::size_t N>
void CopyIn(const std::array<std::uint8_t, N>& from, std::uint8_t* to) {
  std::copy(from.begin(), from.end(), to);
}

}  // namespace

bool DeviceInfo::operator==(const DeviceInfo& other) const {
  std::uint8_t mine[DEVICE_INFO_SIZE];
  std::uint8_t theirs[DEVICE_INFO_SIZE];
  SerializeDeviceInfo(*this, mine);
  SerializeDeviceInfo(other, theirs);
  return std::memcmp(mine, theirs, DEVICE_INFO_SIZE) == 0;
}

std::uint32_t ReadU32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) |
         static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 |
         static_cast<std::uint32_t>(bytes[3]) << 24;
}

void WriteU32(std::uint8_t* bytes, std::uint32_t value) {
  bytes[0] = static_cast<std::uint8_t>(value);
  bytes[1] = static_cast<std::uint8_t>(value >> 8);
  bytes[2] = static_cast<std::uint8_t>(value >> 16);
  bytes[3] = static_cast<std::uint8_t>(value >> 24);
}

DiscoveryHeader ReadHeader(const std::uint8_t* datagram) {
  DiscoveryHeader header;
  header.magic = ReadU32(datagram);
  header.command = ReadU32(datagram + 4);
  header.param1 = ReadU32(datagram + 8);
  header.param2 = ReadU32(datagram + 12);
  header.param3 = ReadU32(datagram + 16);
  header.bodyLength = static_cast<std::int32_t>(ReadU32(datagram + 20));
  return header;
}

void WriteHeader(const DiscoveryHeader& header, std::uint8_t* datagram) {
  WriteU32(datagram, header.magic);
  WriteU32(datagram + 4, header.command);
  WriteU32(datagram + 8, header.param1);
  WriteU32(datagram + 12, header.param2);
  WriteU32(datagram + 16, header.param3);
  WriteU32(datagram + 20, static_cast<std::uint32_t>(header.bodyLength));
}

DeviceInfo ParseDeviceInfo(const std::uint8_t* body) {
  DeviceInfo info;
  CopyOut(body + MAC, info.macAddress);
  CopyOut(body + RESERVED1, info.reserved1);
  info.ipMode = static_cast<std::int32_t>(ReadU32(body + IP_MODE));
  info.ipAddress = ReadU32(body + IP_ADDRESS);
  info.gateway = ReadU32(body + GATEWAY);
  info.subnetMask = ReadU32(body + SUBNET_MASK);
  info.basePort = static_cast<std::int32_t>(ReadU32(body + BASE_PORT));
  info.httpPort = static_cast<std::int32_t>(ReadU32(body + HTTP_PORT));
  CopyOut(body + RESERVED2, info.reserved2);
  CopyOut(body + MODEL_NAME, info.modelName);
  CopyOut(body + FIRMWARE, info.firmware);
  return info;
}

void SerializeDeviceInfo(const DeviceInfo& info, std::uint8_t* body) {
  CopyIn(info.macAddress, body + MAC);
  CopyIn(info.reserved1, body + RESERVED1);
  WriteU32(body + IP_MODE, static_cast<std::uint32_t>(info.ipMode));
  WriteU32(body + IP_ADDRESS, info.ipAddress);
  WriteU32(body + GATEWAY, info.gateway);
  WriteU32(body + SUBNET_MASK, info.subnetMask);
  WriteU32(body + BASE_PORT, static_cast<std::uint32_t>(info.basePort));
  WriteU32(body + HTTP_PORT, static_cast<std::uint32_t>(info.httpPort));
  CopyIn(info.reserved2, body + RESERVED2);
  CopyIn(info.modelName, body + MODEL_NAME);
  CopyIn(info.firmware, body + FIRMWARE);
}

std::vector<std::uint8_t> EncodeRequest(std::uint32_t command,
                                        const DeviceInfo* body) {
  std::vector<std::uint8_t> datagram(body ? DATAGRAM_SIZE : HEADER_SIZE, 0);
  DiscoveryHeader header;
  header.magic = REQUEST_MAGIC;
  header.command = command;
  WriteHeader(header, datagram.data());
  if (body) SerializeDeviceInfo(*body, datagram.data() + HEADER_SIZE);
  return datagram;
}

bool IsSearchReply(const std::uint8_t* buffer) {
  return ReadU32(buffer) == REPLY_MAGIC &&
         ReadU32(buffer + 4) == CMD_SEARCH_REPLY;
}

bool IsSearchRequest(const std::uint8_t* buffer) {
  return ReadU32(buffer) == REQUEST_MAGIC && ReadU32(buffer + 4) == CMD_SEARCH;
}

DecodedReply DecodeDeviceInfo(const std::uint8_t* buffer) {
  DecodedReply reply;
  reply.info = ParseDeviceInfo(buffer + HEADER_SIZE);
  reply.bodyLength = ReadHeader(buffer).bodyLength;
  return reply;
}

std::uint64_t MacKey(const MacAddress& mac) {
  std::uint64_t key = 0;
  for (std::uint8_t byte : mac) key = (key << 8) | byte;
  return key;
}

bool IpSettings::operator==(const IpSettings& other) const {
  return ipMode == other.ipMode && ipAddress == other.ipAddress &&
         subnetMask == other.subnetMask && gateway == other.gateway &&
         basePort == other.basePort && httpPort == other.httpPort;
}

void ApplyIpSettings(DeviceInfo& info, const IpSettings& settings) {
  info.ipMode = settings.ipMode;
  info.ipAddress = settings.ipAddress;
  info.gateway = settings.gateway;
  info.subnetMask = settings.subnetMask;
  info.basePort = settings.basePort;
  info.httpPort = settings.httpPort;
}

IpSettings SettingsFromDeviceInfo(const DeviceInfo& info) {
  IpSettings settings;
  settings.ipMode = info.ipMode;
  settings.ipAddress = info.ipAddress;
  settings.subnetMask = info.subnetMask;
  settings.gateway = info.gateway;
  settings.basePort = info.basePort;
  settings.httpPort = info.httpPort;
  return settings;
}

void WriteSearchReply(const DeviceInfo& info, std::int32_t bodyLength,
                      std::uint8_t* datagram) {
  DiscoveryHeader header;
  header.magic = REPLY_MAGIC;
  header.command = CMD_SEARCH_REPLY;
  header.bodyLength = bodyLength;
  WriteHeader(header, datagram);
  SerializeDeviceInfo(info, datagram + HEADER_SIZE);
}

std::array<std::uint8_t, DATAGRAM_SIZE> EncodeTestReply(
    const std::uint8_t* request) {
  const DiscoveryHeader asked = ReadHeader(request);
  std::array<std::uint8_t, DATAGRAM_SIZE> reply{};
  DiscoveryHeader header;
  header.magic = REPLY_MAGIC;
  header.command = CMD_SEARCH_REPLY;
  header.param1 = asked.param1;
  header.param2 = asked.param2;
  header.param3 = asked.param3;
  header.bodyLength = static_cast<std::int32_t>(DEVICE_INFO_SIZE);
  WriteHeader(header, reply.data());

  // The responder's MAC and reserved areas stay zero: no receiver reads them,
  // and the loopback address keeps the reply out of every device list.
  DeviceInfo info;
  info.ipMode = IP_MODE_FIXED;
  info.ipAddress = LOOPBACK_ADDRESS;
  info.gateway = 0;
  info.subnetMask = 0xFFFFFF00u;
  info.basePort = 2222;
  info.httpPort = 80;
  const char model[] = "RESPTEST";
  std::copy(model, model + sizeof model - 1, info.modelName.begin());
  SerializeDeviceInfo(info, reply.data() + HEADER_SIZE);
  return reply;
}

namespace {

// The texts are written digit by digit: the wide printf family costs more
// than the whole rest of taking a reply into the table.
void AppendDecimal(std::wstring* text, std::uint64_t value) {
  wchar_t digits[20];
  int count = 0;
  do {
    digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (count > 0) text->push_back(digits[--count]);
}

constexpr wchar_t HEX_DIGITS[] = L"0123456789ABCDEF";

}  // namespace

std::wstring AddressText(std::uint32_t numeric) {
  std::wstring text;
  text.reserve(15);
  for (int shift = 24; shift >= 0; shift -= 8) {
    AppendDecimal(&text, (numeric >> shift) & 0xFFu);
    if (shift > 0) text.push_back(L'.');
  }
  return text;
}

std::wstring MacText(const std::array<std::uint8_t, 6>& mac) {
  std::wstring text(17, L':');
  for (std::size_t i = 0; i < mac.size(); ++i) {
    text[3 * i] = HEX_DIGITS[mac[i] >> 4];
    text[3 * i + 1] = HEX_DIGITS[mac[i] & 0x0Fu];
  }
  return text;
}

std::wstring PortText(std::int32_t port) {
  std::wstring text;
  const std::int64_t value = port;
  if (value < 0) text.push_back(L'-');
  AppendDecimal(&text, static_cast<std::uint64_t>(value < 0 ? -value : value));
  return text;
}

std::wstring IpModeText(std::int32_t mode) {
  switch (mode) {
    case IP_MODE_FIXED:
      return L"Fixed IP";
    case IP_MODE_DHCP:
      return L"DHCP";
    case IP_MODE_PPPOE:
      return L"PPPoE (ADSL)";
    default:
      return std::wstring();
  }
}

std::wstring DeviceTextOf(const DeviceText& area, std::int32_t bodyLength) {
  if (bodyLength <= TEXT_BODY_THRESHOLD) return std::wstring();
  std::wstring text;
  for (std::uint8_t byte : area) {
    if (byte == 0) break;
    text.push_back(static_cast<wchar_t>(byte));
  }
  return text;
}

namespace {

// The twelve hex digits of a MAC text in one of its written forms: six pairs
// split by ':' or '-' (as this program writes them, or as other tools do),
// three dotted groups of four (switch consoles), or all twelve in a row
// (device labels). Empty for anything else, a mixed separator included.
std::string MacDigits(const std::string& text) {
  struct Form {
    std::size_t length;
    std::size_t group;
    const char* separators;
  };
  static const Form FORMS[] = {{17, 2, ":-"}, {14, 4, "."}, {12, 12, ""}};
  for (const Form& form : FORMS) {
    if (text.size() != form.length) continue;
    const char separator = form.group < text.size() ? text[form.group] : 0;
    if (separator != 0 &&
        std::string(form.separators).find(separator) == std::string::npos)
      return std::string();
    std::string digits;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if ((i + 1) % (form.group + 1) != 0) {
        digits.push_back(text[i]);
      } else if (text[i] != separator) {
        return std::string();
      }
    }
    return digits;
  }
  return std::string();
}

}  // namespace

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseMac(const std::string& text, std::array<std::uint8_t, 6>* mac) {
  const std::string digits = MacDigits(text);
  if (digits.size() != 12) return false;
  std::array<std::uint8_t, 6> parsed{};
  for (std::size_t i = 0; i < parsed.size(); ++i) {
    const int high = HexValue(digits[2 * i]);
    const int low = HexValue(digits[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    parsed[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  *mac = parsed;
  return true;
}

bool ParseAddress(const std::string& text, std::uint32_t* numeric) {
  std::uint32_t value = 0;
  int parts = 0;
  std::size_t i = 0;
  while (parts < 4) {
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
    std::uint32_t part = 0;
    std::size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      part = part * 10 + static_cast<std::uint32_t>(text[i] - '0');
      if (++digits > 3 || part > 255) return false;
      ++i;
    }
    value = value << 8 | part;
    if (++parts < 4) {
      if (i >= text.size() || text[i] != '.') return false;
      ++i;
    }
  }
  if (i != text.size()) return false;
  *numeric = value;
  return true;
}
