#include "core/validation/ip_validation.h"

#include <limits>

namespace {

bool IsWideSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

}  // namespace

bool GatewayInSubnet(const IpSettings& settings) {
  return (settings.ipAddress & settings.subnetMask) ==
         (settings.gateway & settings.subnetMask);
}

bool BasePortAccepted(std::int32_t port) {
  return port >= 1025 && port <= 65535;
}

bool HttpPortAccepted(std::int32_t port) {
  return port == 80 || BasePortAccepted(port);
}

std::int32_t ParsePortText(const std::wstring& text) {
  std::size_t at = 0;
  while (at < text.size() && IsWideSpace(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) {
    negative = text[at] == L'-';
    ++at;
  }
  // One past the largest magnitude is kept so that both limits saturate
  // without overflowing the accumulator.
  constexpr std::int64_t CAP =
      static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
  std::int64_t magnitude = 0;
  for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
    magnitude = magnitude * 10 + (text[at] - L'0');
    if (magnitude > CAP) magnitude = CAP;
  }
  if (negative) {
    return static_cast<std::int32_t>(-magnitude);
  }
  if (magnitude >= CAP) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(magnitude);
}

IpValidation ValidateIpSettings(const IpInput& input) {
  IpValidation result;
  IpSettings& settings = result.settings;
  settings.ipMode = input.modeIndex;
  settings.ipAddress = input.ipAddress;
  settings.subnetMask = input.subnetMask;
  settings.gateway = input.gateway;

  if (!GatewayInSubnet(settings)) {
    result.error = IP_INPUT_BAD_NETWORK;
    return result;
  }

  if (input.basePortText.empty()) {
    result.error = IP_INPUT_NO_BASE_PORT;
    return result;
  }
  settings.basePort = ParsePortText(input.basePortText);
  if (!BasePortAccepted(settings.basePort)) {
    result.error = IP_INPUT_BAD_BASE_PORT;
    return result;
  }

  if (input.httpPortText.empty()) {
    result.error = IP_INPUT_NO_HTTP_PORT;
    return result;
  }
  settings.httpPort = ParsePortText(input.httpPortText);
  if (!HttpPortAccepted(settings.httpPort)) {
    result.error = IP_INPUT_BAD_HTTP_PORT;
    return result;
  }
  return result;
}

std::wstring IpInputErrorMessage(IpInputError error) {
  switch (error) {
    case IP_INPUT_OK:
      return L"";
    case IP_INPUT_BAD_NETWORK:
      return L"Invalid network setting.\r\nPlease check IP address, Subnet "
             L"Mask, Gateway.";
    case IP_INPUT_NO_BASE_PORT:
      return L"Please insert a base port number.\r\n";
    case IP_INPUT_BAD_BASE_PORT:
      return L"Invalid base port number.\r\nBase port number must have a "
             L"value of 1025~65535.";
    case IP_INPUT_NO_HTTP_PORT:
      return L"Please insert a http port number.\r\n";
    case IP_INPUT_BAD_HTTP_PORT:
      return L"Invalid http port number.\r\nHttp port number must have 80 or "
             L"a value of 1025~65535.";
  }
  return L"";
}

IpInputFocus IpInputErrorFocus(IpInputError error) {
  switch (error) {
    case IP_INPUT_NO_BASE_PORT:
    case IP_INPUT_BAD_BASE_PORT:
      return IpInputFocus::BasePort;
    case IP_INPUT_NO_HTTP_PORT:
    case IP_INPUT_BAD_HTTP_PORT:
      return IpInputFocus::HttpPort;
    case IP_INPUT_OK:
    case IP_INPUT_BAD_NETWORK:
      break;
  }
  return IpInputFocus::Unchanged;
}
