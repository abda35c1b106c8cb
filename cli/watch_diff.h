// What watch reports between one search and the next: devices that appeared,
// devices whose settings changed, and devices that stopped answering.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "cli/found_device.h"
#include "cli/settings_edit.h"

namespace cli {

struct WatchEvent {
  enum class Kind { New, Changed, Gone };
  Kind kind = Kind::New;
  FoundDevice device;                // as last seen
  std::vector<std::string> changed;  // the device object's keys, for Changed
};

class WatchState {
 public:
  // A device is gone once it has missed this many searches in a row: a
  // single lost reply on a busy network does not make it one.
  static constexpr int MISSES_TO_GONE = 2;

  // The events of one search's devices: New and Changed in the search's
  // order, then Gone.
  std::vector<WatchEvent> Update(const std::vector<FoundDevice>& found);

 private:
  struct Known {
    FoundDevice device;
    int misses = 0;
  };
  std::map<Mac, Known> known_;
};

// {"event":"new","mac":"...","device":{...}} with "changed":[...] where it
// applies.
std::string WatchEventJson(const WatchEvent& event);
// One line for people: event, MAC, address, and what changed.
std::string WatchEventText(const WatchEvent& event);

}  // namespace cli
