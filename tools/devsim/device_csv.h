// The device file: one device a line, comma-separated, a header row naming
// the columns. Blank lines and lines starting with '#' are skipped; cells are
// trimmed of spaces and tabs; quotes are not supported.
//
// Required columns: mac, ip_mode, ip, gateway, mask, base_port, http_port,
// model, firmware. Optional: body_length, repeat, reply_size, reserved1 (4 hex
// digits), reserved2 (16 hex digits), and for ONVIF devices protocols
// (quellan, onvif or quellan+onvif), name, hardware, location, endpoint,
// mac_scope (none, colons, hyphens, bare) and link_local; an empty optional
// cell takes the default. Column names are case-insensitive and may come in
// any order.
#pragma once

#include <string>
#include <vector>

#include "tools/devsim/sim_device.h"

namespace devsim {

struct CsvResult {
  bool ok = false;
  std::vector<SimDevice> devices;
  // "<source>:<line>: <what is wrong>", or "<source>: ..." for the file.
  std::string error;
  // The 1-based line the error is on; 0 when it concerns the whole file.
  int line = 0;
};

// `source` names the file in error messages; rows without a repeat value
// take `defaultRepeat`.
CsvResult ReadDeviceCsv(const std::string& text, const std::string& source,
                        int defaultRepeat);

// Writes every column, so that reading the text back gives the same devices.
std::string WriteDeviceCsv(const std::vector<SimDevice>& devices);

}  // namespace devsim
