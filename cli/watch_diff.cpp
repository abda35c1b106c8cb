#include "cli/watch_diff.h"

#include <set>

#include "cli/text_formats.h"

namespace cli {
namespace {

std::vector<std::string> ChangedKeys(const FoundDevice& before,
                                     const FoundDevice& after) {
  std::vector<std::string> keys = ChangedSettings(before.info, after.info);
  if (before.model != after.model) keys.push_back("model");
  if (before.firmware != after.firmware) keys.push_back("firmware");
  if (before.conflict != after.conflict) keys.push_back("conflict");
  if (before.place.reachableFrom != after.place.reachableFrom)
    keys.push_back("reachable_from");
  // A device moved to another broadcast domain (re-plugged into another
  // VLAN); one heard through two adapters of its domain keeps its name.
  if (before.place.adapter != after.place.adapter) keys.push_back("adapter");
  return keys;
}

const char* KindName(WatchEvent::Kind kind) {
  switch (kind) {
    case WatchEvent::Kind::New:
      return "new";
    case WatchEvent::Kind::Changed:
      return "changed";
    case WatchEvent::Kind::Gone:
      return "gone";
  }
  return "";
}

}  // namespace

std::vector<WatchEvent> WatchState::Update(
    const std::vector<FoundDevice>& found) {
  std::vector<WatchEvent> events;
  std::set<Mac> seen;
  for (const FoundDevice& device : found) {
    seen.insert(device.info.macAddress);
    const auto known = known_.find(device.info.macAddress);
    if (known == known_.end()) {
      known_[device.info.macAddress] = Known{device, 0};
      events.push_back({WatchEvent::Kind::New, device, {}});
      continue;
    }
    std::vector<std::string> keys = ChangedKeys(known->second.device, device);
    if (!keys.empty())
      events.push_back({WatchEvent::Kind::Changed, device, std::move(keys)});
    known->second = Known{device, 0};
  }
  for (auto known = known_.begin(); known != known_.end();) {
    if (!seen.count(known->first) && ++known->second.misses >= MISSES_TO_GONE) {
      events.push_back({WatchEvent::Kind::Gone, known->second.device, {}});
      known = known_.erase(known);
    } else {
      ++known;
    }
  }
  return events;
}

std::string WatchEventJson(const WatchEvent& event) {
  std::string line = "{\"event\":" + JsonString(KindName(event.kind)) +
                     ",\"mac\":" + JsonString(MacString(event.device.info)) +
                     ",\"device\":" + DeviceJson(event.device);
  if (event.kind == WatchEvent::Kind::Changed) {
    line += ",\"changed\":[";
    for (std::size_t i = 0; i < event.changed.size(); ++i)
      line += (i ? "," : "") + JsonString(event.changed[i]);
    line += "]";
  }
  return line + "}";
}

std::string WatchEventText(const WatchEvent& event) {
  const FoundDevice& device = event.device;
  std::string line = std::string(KindName(event.kind)) + "  " +
                     MacString(device.info) + "  " +
                     Dotted(device.info.ipAddress);
  if (!device.model.empty()) line += "  " + device.model;
  if (event.kind == WatchEvent::Kind::Changed) {
    line += "  changed:";
    for (const std::string& key : event.changed) line += " " + key;
  }
  return line;
}

}  // namespace cli
