#include "platform/proc_arp_table.h"

#include <sstream>

namespace {

// The kernel's ATF_COM: the entry holds a resolved link-layer address.
constexpr std::uint32_t FLAG_COMPLETE = 0x2;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "0x2"
bool ParseFlags(const std::string& text, std::uint32_t* flags) {
  if (text.size() < 3 || text.size() > 10 || text.compare(0, 2, "0x") != 0)
    return false;
  std::uint32_t value = 0;
  for (std::size_t i = 2; i < text.size(); ++i) {
    const int digit = HexDigit(text[i]);
    if (digit < 0) return false;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  *flags = value;
  return true;
}

// "10.77.0.2"
bool ParseAddress(const std::string& text, std::uint32_t* address) {
  std::uint32_t value = 0;
  std::size_t at = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0 && (at >= text.size() || text[at++] != '.')) return false;
    std::uint32_t number = 0;
    std::size_t digits = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' &&
           digits < 3) {
      number = number * 10 + static_cast<std::uint32_t>(text[at++] - '0');
      ++digits;
    }
    if (digits == 0 || number > 255) return false;
    value = value << 8 | number;
  }
  if (at != text.size()) return false;
  *address = value;
  return true;
}

// "02:00:00:00:02:14"; longer link-layer addresses are not MACs.
bool ParseMac(const std::string& text, MacAddress* mac) {
  if (text.size() != 17) return false;
  for (std::size_t i = 0; i < mac->size(); ++i) {
    const int high = HexDigit(text[i * 3]);
    const int low = HexDigit(text[i * 3 + 1]);
    if (high < 0 || low < 0 || (i < 5 && text[i * 3 + 2] != ':')) return false;
    (*mac)[i] = static_cast<std::uint8_t>(high << 4 | low);
  }
  return true;
}

// "IP address HW type Flags HW address Mask Device"
bool ParseRow(const std::string& line, ProcArpRow* row) {
  std::istringstream fields(line);
  std::string address, type, flagText, mac, mask, device, extra;
  if (!(fields >> address >> type >> flagText >> mac >> mask >> device) ||
      (fields >> extra))
    return false;
  std::uint32_t flags = 0;
  if (!ParseAddress(address, &row->address) || !ParseFlags(flagText, &flags) ||
      !(flags & FLAG_COMPLETE) || !ParseMac(mac, &row->mac) ||
      row->mac == MacAddress{})
    return false;
  row->device = device;
  return true;
}

}  // namespace

std::vector<ProcArpRow> ParseProcNetArp(const std::string& text) {
  std::vector<ProcArpRow> rows;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    ProcArpRow row;
    if (ParseRow(line, &row)) rows.push_back(row);
  }
  return rows;
}
