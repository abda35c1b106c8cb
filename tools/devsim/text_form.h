// Text forms used in the device files and in the JSON lines: dotted
// addresses, MAC addresses, hex dumps, strict decimal numbers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/protocol/datagram.h"
#include "core/text/ascii_words.h"

namespace devsim {

std::string DottedText(std::uint32_t numeric);
// "AA:BB:CC:DD:EE:FF", first byte first.
std::string MacString(const std::array<std::uint8_t, 6>& mac);
// Lower-case hex, two digits a byte, no separators.
std::string HexOf(const std::uint8_t* bytes, std::size_t size);
// Exactly 2 * size hex digits.
bool ParseHex(const std::string& text, std::uint8_t* bytes, std::size_t size);
// Decimal digits only (ParseInt32, ascii_words.h, takes a sign too);
// refuses anything out of range.
bool ParseUint64(const std::string& text, std::uint64_t* value);
// The text up to its first zero byte, never beyond the area.
std::string DeviceTextString(const DeviceText& area);
// Printable ASCII only, at most 16 characters; the rest of the area is zero.
bool MakeDeviceText(const std::string& text, DeviceText* area);

}  // namespace devsim
