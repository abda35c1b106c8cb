// Reading the Linux kernel's texts about UDP sockets: the table of
// /proc/net/udp and the "socket:[inode]" links under /proc/PID/fd.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ProcUdpRow {
  std::uint16_t localPort = 0;
  std::uint64_t inode = 0;
};

// The rows of a /proc/net/udp text, in table order; the heading and any line
// that does not parse are left out.
std::vector<ProcUdpRow> ParseProcNetUdp(const std::string& text);

// The socket of the last row on `port`; 0 when none is.
std::uint64_t FindPortInode(const std::vector<ProcUdpRow>& rows,
                            std::uint16_t port);

// The inode of a file descriptor link "socket:[N]"; 0 for any other link.
std::uint64_t SocketInodeOfLink(const std::string& link);

// Wide text of a UTF-8 path; a byte that does not decode becomes U+FFFD.
std::wstring WidenUtf8(const std::string& bytes);
