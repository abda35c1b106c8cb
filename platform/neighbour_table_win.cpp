// The IP Helper's neighbour table. GetIpNetTable2 is the one call that Wine
// implements as well as Windows; SendARP, which would resolve one address at
// a time, is a stub there.
// winsock2.h must come before the headers that build on it, and ws2tcpip.h
// before iphlpapi.h, whose neighbour table rows need its address types.
#include <winsock2.h>

#include <ws2tcpip.h>

#include <iphlpapi.h>

#include <algorithm>

#include "platform/neighbour_table.h"

namespace {

// The states in which the entry holds a link-layer address; unreachable and
// incomplete ones do not.
bool HasLinkAddress(const MIB_IPNET_ROW2& row) {
  if (row.State == NlnsUnreachable || row.State == NlnsIncomplete ||
      row.PhysicalAddressLength != sizeof(MacAddress))
    return false;
  return std::any_of(row.PhysicalAddress,
                     row.PhysicalAddress + sizeof(MacAddress),
                     [](UCHAR byte) { return byte != 0; });
}

}  // namespace

NeighbourTable ReadNeighbours() {
  NeighbourTable table;
  MIB_IPNET_TABLE2* rows = nullptr;
  const DWORD result = GetIpNetTable2(AF_INET, &rows);
  // An empty table is no failure: Windows says ERROR_NOT_FOUND for it.
  if (result == ERROR_NOT_FOUND) {
    table.status = NeighbourTable::Status::Read;
    return table;
  }
  if (result != NO_ERROR) {
    table.error = static_cast<long>(result);
    return table;
  }
  for (ULONG i = 0; i < rows->NumEntries; ++i) {
    const MIB_IPNET_ROW2& row = rows->Table[i];
    if (row.Address.si_family != AF_INET || !HasLinkAddress(row)) continue;
    Neighbour entry;
    entry.address = ntohl(row.Address.Ipv4.sin_addr.s_addr);
    std::copy(row.PhysicalAddress, row.PhysicalAddress + entry.mac.size(),
              entry.mac.begin());
    entry.interfaceIndex = row.InterfaceIndex;
    table.entries.push_back(entry);
  }
  FreeMibTable(rows);
  table.status = NeighbourTable::Status::Read;
  return table;
}
