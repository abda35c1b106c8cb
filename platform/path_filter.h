// Reverse-path filtering: Linux may drop a datagram whose source address it
// would not route back out of the interface the datagram came in on. A new
// device that still has its factory address, outside the subnet of the link
// it sits on, sends such datagrams.
#pragma once

#include <string>

struct ReversePathFilter {
  // False where the system has no such filter (Windows) or the values could
  // not be read.
  bool known = false;
  // The two settings the kernel takes the larger of: 0 off, 1 strict, 2
  // loose (any route back will do).
  int all = 0;  // net.ipv4.conf.all.rp_filter
  int own = 0;  // net.ipv4.conf.NAME.rp_filter
};

// The filtering of the interface named `interfaceName` (LocalAdapter::name).
ReversePathFilter ReadReversePathFilter(const std::string& interfaceName);
