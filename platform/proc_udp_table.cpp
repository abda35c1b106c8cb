#include "platform/proc_udp_table.h"

#include <sstream>

namespace {

bool ParseHex(const std::string& text, std::uint64_t* value) {
  if (text.empty() || text.size() > 16) return false;
  std::uint64_t result = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else {
      return false;
    }
    result = result * 16 + static_cast<std::uint64_t>(digit);
  }
  *value = result;
  return true;
}

bool ParseDecimal(const std::string& text, std::uint64_t* value) {
  if (text.empty() || text.size() > 19) return false;
  std::uint64_t result = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    result = result * 10 + static_cast<std::uint64_t>(c - '0');
  }
  *value = result;
  return true;
}

// "sl local_address rem_address st tx:rx tr:when retrnsmt uid timeout inode"
bool ParseRow(const std::string& line, ProcUdpRow* row) {
  std::istringstream fields(line);
  std::string slot, local, remote, state, queues, timer, retransmits, uid,
      timeout, inode;
  if (!(fields >> slot >> local >> remote >> state >> queues >> timer >>
        retransmits >> uid >> timeout >> inode))
    return false;
  if (slot.empty() || slot.back() != ':') return false;
  const std::size_t colon = local.find(':');
  if (colon == std::string::npos) return false;
  std::uint64_t address, port, node;
  if (!ParseHex(local.substr(0, colon), &address) ||
      !ParseHex(local.substr(colon + 1), &port) || port > 0xFFFF ||
      !ParseDecimal(inode, &node))
    return false;
  row->localPort = static_cast<std::uint16_t>(port);
  row->inode = node;
  return true;
}

}  // namespace

std::vector<ProcUdpRow> ParseProcNetUdp(const std::string& text) {
  std::vector<ProcUdpRow> rows;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    ProcUdpRow row;
    if (ParseRow(line, &row)) rows.push_back(row);
  }
  return rows;
}

std::uint64_t FindPortInode(const std::vector<ProcUdpRow>& rows,
                            std::uint16_t port) {
  std::uint64_t inode = 0;
  for (const ProcUdpRow& row : rows)
    if (row.localPort == port) inode = row.inode;
  return inode;
}

std::uint64_t SocketInodeOfLink(const std::string& link) {
  const std::string prefix = "socket:[";
  if (link.size() < prefix.size() + 2 ||
      link.compare(0, prefix.size(), prefix) != 0 || link.back() != ']')
    return 0;
  std::uint64_t inode = 0;
  if (!ParseDecimal(link.substr(prefix.size(), link.size() - prefix.size() - 1),
                    &inode))
    return 0;
  return inode;
}

std::wstring WidenUtf8(const std::string& bytes) {
  std::wstring wide;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const unsigned char lead = static_cast<unsigned char>(bytes[at]);
    std::size_t length;
    char32_t code;
    if (lead < 0x80) {
      length = 1;
      code = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      code = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      code = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      code = lead & 0x07u;
    } else {
      wide += L'\xFFFD';
      ++at;
      continue;
    }
    bool valid = at + length <= bytes.size();
    for (std::size_t i = 1; valid && i < length; ++i) {
      const unsigned char next = static_cast<unsigned char>(bytes[at + i]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3Fu);
    }
    static const char32_t SMALLEST[] = {0, 0, 0x80, 0x800, 0x10000};
    if (!valid || code < SMALLEST[length] || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF)) {
      wide += L'\xFFFD';
      ++at;
      continue;
    }
    wide += static_cast<wchar_t>(code);
    at += length;
  }
  return wide;
}
