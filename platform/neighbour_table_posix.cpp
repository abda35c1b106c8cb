// The Linux kernel's neighbour table through /proc/net/arp: one short text
// whose reading is a pure function, tested on fixtures, where a netlink dump
// would need a message and attribute walker of its own. It is per network
// namespace, and its "complete" flag is set for exactly the states that hold
// a link-layer address (reachable, stale, delay, probe, permanent, noarp).
#include <net/if.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/neighbour_table.h"
#include "platform/proc_arp_table.h"

NeighbourTable ReadNeighbours() {
  NeighbourTable table;
  errno = 0;
  std::ifstream file("/proc/net/arp");
  const std::string text((std::istreambuf_iterator<char>(file)),
                         std::istreambuf_iterator<char>());
  if (!file.is_open() || file.bad()) {
    table.error = errno;
    return table;
  }
  for (const ProcArpRow& row : ParseProcNetArp(text))
    table.entries.push_back(
        {row.address, row.mac, if_nametoindex(row.device.c_str())});
  table.status = NeighbourTable::Status::Read;
  return table;
}
