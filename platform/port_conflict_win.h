// The Windows readers of the IPv4 UDP endpoint table with owning processes.
#pragma once

#include <cstdint>

// Non-zero on the NT family from major version 6 (Vista) on.
std::int32_t IsVista();
// The owner of local port 64988, 0 when none, -1 after showing a message.
// GetExtendedUdpTable, for IsVista systems.
std::int32_t NetStatEx();
// AllocateAndGetUdpExTableFromStack, for older systems.
std::int32_t NetStat();
