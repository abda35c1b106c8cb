// What watch reports between one search and the next: devices that appeared,
// devices whose settings changed, and devices that stopped answering.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "cli/device/device_fields.h"
#include "cli/device/found_device.h"
#include "cli/device/settings_edit.h"

namespace cli {

struct WatchEvent {
  enum class Kind { New, Changed, Gone };
  Kind kind = Kind::New;
  FoundDevice device;  // as last seen
  // For Changed: the device as seen the time before, and the device
  // object's keys whose values differ.
  FoundDevice before;
  std::vector<std::string> changed;
};

class WatchState {
 public:
  // A device is gone once it has missed this many searches in a row: a
  // single lost reply on a busy network does not make it one.
  static constexpr int MISSES_TO_GONE = 2;

  // The events of one search's devices: New and Changed in the search's
  // order, then Gone. `domains` are the search's own; each device is placed
  // in them united with those of every search before, so that a device
  // whose reply came in on one card of its LAN this time keeps its adapter.
  // A device that missed a search but is not gone yet still holds its
  // address: a conflict with it ends in the search that reports it gone
  // (or changed), not one search before.
  std::vector<WatchEvent> Update(const std::vector<FoundDevice>& found,
                                 const BroadcastDomains& domains);

 private:
  struct Known {
    FoundDevice device;
    int misses = 0;
  };
  // The search's devices placed and marked for conflicts among themselves
  // and the known devices that missed this search without being gone.
  std::vector<FoundDevice> WithLingering(
      const std::vector<FoundDevice>& found) const;
  BroadcastDomains domains_;
  std::map<std::string, Known> known_;  // by Identity
};

// {"event":"new","mac":"...","device":{...}}; a change adds "changed":[...]
// and the changed fields' values in "old":{...} and "new":{...}. "mac" is
// null where the device's is.
std::string WatchEventJson(const WatchEvent& event, DeviceColumns columns);

// The table form, whose lines go out one at a time as events happen: fixed
// column widths, the header line first; with ONVIF columns, a device's name
// follows its model (a device ONVIF names without a MAC is known by it).
// `time` is when the event was seen.
std::string WatchTableHeader(DeviceColumns columns);
std::string WatchEventText(const std::string& time, const WatchEvent& event,
                           DeviceColumns columns);

}  // namespace cli
