// The check behind "Change" with arbitrary field contents.
//
// Input: the mode index, IP address, mask and gateway as four little-endian
// 32-bit words (missing bytes are zero), then the base port text and, after
// the first newline, the HTTP port text; each byte is one character.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>

#include "core/validation/ip_validation.h"
#include "tests/fuzz/require.h"

namespace {

constexpr std::size_t WORDS = 4;

std::wstring Widen(const std::uint8_t* begin, const std::uint8_t* end) {
  return std::wstring(begin, end);
}

bool Ascii(const std::wstring& text) {
  for (wchar_t c : text)
    if (c == 0 || c >= 0x80) return false;
  return true;
}

// What wcstol gives for base 10 where long is 32 bits wide.
std::int32_t Wcstol32(const std::wstring& text) {
  const long long value = std::wcstoll(text.c_str(), nullptr, 10);
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(value);
}

void CheckPort(const std::wstring& text) {
  const std::int32_t port = ParsePortText(text);
  if (Ascii(text)) FUZZ_REQUIRE(port == Wcstol32(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  std::uint8_t words[WORDS * 4] = {};
  const std::size_t fixed = size < sizeof words ? size : sizeof words;
  std::memcpy(words, data, fixed);
  IpInput input;
  input.modeIndex = static_cast<std::int32_t>(ReadU32(words));
  input.ipAddress = ReadU32(words + 4);
  input.subnetMask = ReadU32(words + 8);
  input.gateway = ReadU32(words + 12);
  const std::uint8_t* text = data + fixed;
  const std::uint8_t* end = data + size;
  const std::uint8_t* newline = std::find(text, end, '\n');
  input.basePortText = Widen(text, newline);
  if (newline != end) input.httpPortText = Widen(newline + 1, end);

  const IpValidation result = ValidateIpSettings(input);
  CheckPort(input.basePortText);
  CheckPort(input.httpPortText);
  FUZZ_REQUIRE(IpInputErrorMessage(result.error).empty() ==
               (result.error == IP_INPUT_OK));
  IpInputErrorFocus(result.error);
  if (result.error != IP_INPUT_OK) return 0;

  const IpSettings& settings = result.settings;
  FUZZ_REQUIRE(settings.ipMode == input.modeIndex);
  FUZZ_REQUIRE(settings.ipAddress == input.ipAddress);
  FUZZ_REQUIRE(settings.subnetMask == input.subnetMask);
  FUZZ_REQUIRE(settings.gateway == input.gateway);
  FUZZ_REQUIRE(settings.basePort >= 1025 && settings.basePort <= 65535);
  FUZZ_REQUIRE(settings.httpPort == 80 ||
               (settings.httpPort >= 1025 && settings.httpPort <= 65535));
  FUZZ_REQUIRE((settings.ipAddress & settings.subnetMask) ==
               (settings.gateway & settings.subnetMask));
  return 0;
}
