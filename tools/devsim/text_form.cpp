#include "tools/devsim/text_form.h"

#include <charconv>

#include "core/text/utf8.h"

namespace devsim {

std::string DottedText(std::uint32_t numeric) {
  return Utf8(AddressText(numeric));
}

std::string MacString(const std::array<std::uint8_t, 6>& mac) {
  return Utf8(MacText(mac));
}

std::string HexOf(const std::uint8_t* bytes, std::size_t size) {
  static const char DIGITS[] = "0123456789abcdef";
  std::string text;
  text.reserve(size * 2);
  for (std::size_t i = 0; i < size; ++i) {
    text += DIGITS[bytes[i] >> 4];
    text += DIGITS[bytes[i] & 0x0F];
  }
  return text;
}

bool ParseHex(const std::string& text, std::uint8_t* bytes, std::size_t size) {
  if (text.size() != size * 2) return false;
  for (std::size_t i = 0; i < size; ++i) {
    const int high = HexValue(text[i * 2]);
    const int low = HexValue(text[i * 2 + 1]);
    if (high < 0 || low < 0) return false;
    bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return true;
}

bool ParseUint64(const std::string& text, std::uint64_t* value) {
  if (text.empty() || text.size() > 20) return false;
  // from_chars takes neither a sign nor spaces, and fails out of range.
  std::uint64_t parsed = 0;
  const char* end = text.data() + text.size();
  const std::from_chars_result read = std::from_chars(text.data(), end, parsed);
  if (read.ec != std::errc() || read.ptr != end) return false;
  *value = parsed;
  return true;
}

std::string DeviceTextString(const DeviceText& area) {
  std::string text;
  for (std::uint8_t byte : area) {
    if (byte == 0) break;
    text += static_cast<char>(byte);
  }
  return text;
}

bool MakeDeviceText(const std::string& text, DeviceText* area) {
  if (text.size() > DEVICE_TEXT_SIZE) return false;
  DeviceText filled{};
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] < 0x20 || text[i] > 0x7E) return false;
    filled[i] = static_cast<std::uint8_t>(text[i]);
  }
  *area = filled;
  return true;
}

}  // namespace devsim
