// The check that both IP change dialogs make when "Change" is pressed, and the
// reading of what the user entered into an IpSettings record. Pure: the
// dialogs read their controls, hand the values here and act on the answer.
// The rules themselves (gateway in the subnet, port ranges) are the ones
// every change is held to (change_check.h).
#pragma once

#include <cstdint>
#include <string>

#include "core/protocol/datagram.h"

enum IpInputError : std::int32_t {
  IP_INPUT_OK = 0,
  IP_INPUT_BAD_NETWORK,
  IP_INPUT_NO_BASE_PORT,
  IP_INPUT_BAD_BASE_PORT,
  IP_INPUT_NO_HTTP_PORT,
  IP_INPUT_BAD_HTTP_PORT,
};

// The field that takes the keyboard focus after the message of an error.
enum class IpInputFocus { Unchanged, BasePort, HttpPort };

// What the dialog's controls hold. Addresses in the numeric form that an IP
// address control gives: (a << 24) | (b << 16) | (c << 8) | d, blank as 0.
struct IpInput {
  std::int32_t modeIndex = -1;
  std::uint32_t ipAddress = 0;
  std::uint32_t subnetMask = 0;
  std::uint32_t gateway = 0;
  std::wstring basePortText;
  std::wstring httpPortText;
};

struct IpValidation {
  IpInputError error = IP_INPUT_OK;
  // Meaningful only with IP_INPUT_OK.
  IpSettings settings;
};

IpValidation ValidateIpSettings(const IpInput& input);

// The text the dialog shows for `error`; empty for IP_INPUT_OK.
std::wstring IpInputErrorMessage(IpInputError error);
IpInputFocus IpInputErrorFocus(IpInputError error);

// The rules behind the codes, on settings already read.
bool GatewayInSubnet(const IpSettings& settings);
bool BasePortAccepted(std::int32_t port);  // 1025 to 65535
bool HttpPortAccepted(std::int32_t port);  // 80, or 1025 to 65535

// Reads a port field the way wcstol reads base 10: leading white space, one
// optional sign, digits up to the first other character (the rest ignored),
// 0 without digits, saturating at the signed 32-bit limits.
std::int32_t ParsePortText(const std::wstring& text);
