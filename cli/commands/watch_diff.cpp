#include "cli/commands/watch_diff.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <set>

#include "cli/device/device_fields.h"
#include "cli/format/display_width.h"
#include "cli/format/text_formats.h"
#include "core/text/ascii_words.h"

namespace cli {
namespace {

const char* KindName(WatchEvent::Kind kind) {
  static const NamedValue<WatchEvent::Kind> NAMES[] = {
      {"new", WatchEvent::Kind::New},
      {"changed", WatchEvent::Kind::Changed},
      {"gone", WatchEvent::Kind::Gone}};
  return NameOf(NAMES, kind);
}

// A field's value in the table: "none" for none, a mode by its name.
std::string ValueText(const FoundDevice& device, const std::string& key) {
  FieldValue value = DeviceValue(device, key);
  if (key == "ip_mode" && !ModeText(device.settings.ipMode).empty())
    value = ModeText(device.settings.ipMode);
  return value && !value->empty() ? *value : "none";
}

// "ip 10.77.0.12 -> 10.77.0.50", or whether a conflict began or ended.
std::string ChangeText(const WatchEvent& event, const std::string& key) {
  if (key == "conflict")
    return event.device.conflict ? "conflict began" : "conflict ended";
  return key + " " + ValueText(event.before, key) + " -> " +
         ValueText(event.device, key);
}

// The table's columns: time, event, MAC, address, model, with ONVIF
// devices their name, then the changes.
const std::size_t WIDTHS[] = {8, 7, 17, 15, 16, 16};

std::string TableLine(const std::vector<std::string>& cells) {
  std::string line;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    line += cells[i];
    const std::size_t width = DisplayWidth(cells[i]);
    if (i + 1 < cells.size())
      line.append(WIDTHS[i] > width ? WIDTHS[i] - width + 2 : 2, ' ');
  }
  line.erase(line.find_last_not_of(' ') + 1);
  return line;
}

}  // namespace

std::vector<FoundDevice> WatchState::WithLingering(
    const std::vector<FoundDevice>& found) const {
  std::set<std::string> seen;
  for (const FoundDevice& device : found) seen.insert(Identity(device));
  std::vector<FoundDevice> all = found;
  for (const auto& [identity, known] : known_)
    if (!seen.count(identity) && known.misses + 1 < MISSES_TO_GONE)
      all.push_back(known.device);
  all = PlacedIn(std::move(all), domains_);
  all.erase(std::remove_if(all.begin(), all.end(),
                           [&seen](const FoundDevice& device) {
                             return !seen.count(Identity(device));
                           }),
            all.end());
  return all;
}

std::vector<WatchEvent> WatchState::Update(
    const std::vector<FoundDevice>& found, const BroadcastDomains& domains) {
  domains_.Unite(domains);
  std::vector<WatchEvent> events;
  std::set<std::string> seen;
  for (const FoundDevice& device : WithLingering(found)) {
    const std::string identity = Identity(device);
    seen.insert(identity);
    const auto known = known_.find(identity);
    if (known == known_.end()) {
      known_[identity] = Known{device, 0};
      events.push_back({WatchEvent::Kind::New, device, {}, {}});
      continue;
    }
    std::vector<std::string> keys = ChangedFields(known->second.device, device);
    if (!keys.empty())
      events.push_back({WatchEvent::Kind::Changed, device, known->second.device,
                        std::move(keys)});
    known->second = Known{device, 0};
  }
  for (auto known = known_.begin(); known != known_.end();) {
    if (!seen.count(known->first) && ++known->second.misses >= MISSES_TO_GONE) {
      events.push_back({WatchEvent::Kind::Gone, known->second.device, {}, {}});
      known = known_.erase(known);
    } else {
      ++known;
    }
  }
  return events;
}

std::string WatchEventJson(const WatchEvent& event, DeviceColumns columns) {
  const std::string mac =
      event.device.mac ? JsonString(MacString(event.device)) : "null";
  std::string line = "{\"event\":" + JsonString(KindName(event.kind)) +
                     ",\"mac\":" + mac +
                     ",\"device\":" + DeviceJson(event.device, columns);
  if (event.kind == WatchEvent::Kind::Changed) {
    line += ",\"changed\":[";
    for (std::size_t i = 0; i < event.changed.size(); ++i)
      line += (i ? "," : "") + JsonString(event.changed[i]);
    line += "],\"old\":" + DeviceJsonFields(event.before, event.changed) +
            ",\"new\":" + DeviceJsonFields(event.device, event.changed);
  }
  return line + "}";
}

std::string WatchTableHeader(DeviceColumns columns) {
  std::vector<std::string> cells{"Time", "Event", "MAC address", "IP address",
                                 "Model"};
  if (columns == DeviceColumns::WithOnvif) cells.push_back("Name");
  cells.push_back("Change");
  return TableLine(cells);
}

std::string WatchEventText(const std::string& time, const WatchEvent& event,
                           DeviceColumns columns) {
  const FoundDevice& device = event.device;
  std::string change;
  for (const std::string& key : event.changed)
    change += (change.empty() ? "" : ", ") + ChangeText(event, key);
  std::vector<std::string> cells{time, KindName(event.kind), MacString(device),
                                 Dotted(device.settings.ipAddress),
                                 device.model};
  if (columns == DeviceColumns::WithOnvif)
    cells.push_back(device.onvif ? device.onvif->name : std::string());
  cells.push_back(change);
  return TableLine(cells);
}

}  // namespace cli
