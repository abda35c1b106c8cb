#include "cli/found_device.h"

#include <algorithm>
#include <cstddef>
#include <tuple>

#include "cli/text_formats.h"
#include "core/devices/web_page.h"

namespace cli {
namespace {

const char* const KEYS[] = {"mac",      "ip",           "mask",
                            "gateway",  "base_port",    "http_port",
                            "ip_mode",  "ip_mode_text", "model",
                            "firmware", "conflict",     "reachable_from",
                            "url",      "adapter"};

constexpr const char* UNREACHABLE_NOTE =
    "not reachable from this computer: change its address first";

// A piece of a report goes out once it holds this much.
constexpr std::size_t PIECE_SIZE = 64 * 1024;

// Collects the lines of a report and hands them on a piece at a time.
class Pieces {
 public:
  explicit Pieces(const TextSink& write) : write_(write) {
    piece_.reserve(PIECE_SIZE + 1024);
  }
  std::string& Text() { return piece_; }
  // After each whole line: the piece goes once it is full.
  void LineDone() {
    if (piece_.size() >= PIECE_SIZE) End();
  }
  // Hands on what is left.
  void End() {
    if (!piece_.empty()) write_(piece_);
    piece_.clear();
  }

 private:
  const TextSink& write_;
  std::string piece_;
};

// The cells of one device in the order of KEYS: JSON-typed when `json`,
// else as CSV cells hold them.
std::vector<std::string> Cells(const FoundDevice& device, bool json) {
  const DeviceInfo& info = device.info;
  auto text = [json](const std::string& value) {
    return json ? JsonString(value) : value;
  };
  // What the device itself says, which may be made up to look like a
  // spreadsheet formula.
  auto deviceText = [json](const std::string& value) {
    return json ? JsonString(value) : SpreadsheetText(value);
  };
  auto address = [&](std::uint32_t value) {
    return value ? text(Dotted(value)) : (json ? "null" : "");
  };
  return {text(MacString(info)),
          text(Dotted(info.ipAddress)),
          text(Dotted(info.subnetMask)),
          text(Dotted(info.gateway)),
          std::to_string(info.basePort),
          std::to_string(info.httpPort),
          std::to_string(info.ipMode),
          text(ModeText(info.ipMode)),
          deviceText(device.model),
          deviceText(device.firmware),
          device.conflict ? "true" : "false",
          address(device.place.reachableFrom),
          text(PageUrl(info)),
          address(device.place.adapter)};
}

// Sorts by address numerically (by domain, then MAC, among equal
// addresses) and marks every device that shares its address with another
// of its domain.
void SortAndMarkConflicts(std::vector<FoundDevice>* devices) {
  auto key = [](const FoundDevice& device) {
    return std::tie(device.info.ipAddress, device.place.domain,
                    device.info.macAddress);
  };
  std::sort(devices->begin(), devices->end(),
            [&key](const FoundDevice& a, const FoundDevice& b) {
              return key(a) < key(b);
            });
  // Sorted, the devices that share an address in one domain stand together.
  std::vector<FoundDevice>& sorted = *devices;
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    if (sorted[i].info.ipAddress != sorted[i - 1].info.ipAddress ||
        sorted[i].place.domain != sorted[i - 1].place.domain)
      continue;
    sorted[i].conflict = true;
    sorted[i - 1].conflict = true;
  }
}

// The object of the device's JSON cells whose index `wanted` takes.
template <typename Wanted>
std::string JsonObject(const std::vector<std::string>& cells, Wanted wanted) {
  // Built in place, as this runs once for each of tens of thousands of
  // devices; the keys are plain words that need no escaping.
  std::string object;
  object.reserve(400);
  object.push_back('{');
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (!wanted(i)) continue;
    if (object.size() > 1) object.push_back(',');
    object.push_back('"');
    object += KEYS[i];
    object += "\":";
    object += cells[i];
  }
  object.push_back('}');
  return object;
}

}  // namespace

std::vector<FoundDevice> FoundDevices(const std::vector<DeviceRow>& rows,
                                      const BroadcastDomains& domains,
                                      const IngressRecord& heard) {
  std::vector<FoundDevice> devices;
  devices.reserve(rows.size());
  for (const DeviceRow& row : rows) {
    FoundDevice device;
    device.info = row.record;
    device.model = Utf8(row.texts[COLUMN_MODEL]);
    device.firmware = Utf8(row.texts[COLUMN_FIRMWARE]);
    device.place = domains.Place(row.record, heard.Of(row.record.macAddress));
    devices.push_back(std::move(device));
  }
  SortAndMarkConflicts(&devices);
  return devices;
}

std::vector<FoundDevice> PlacedIn(std::vector<FoundDevice> devices,
                                  const BroadcastDomains& domains) {
  for (FoundDevice& device : devices) {
    // The domain is named by one of its interfaces, which heard the device.
    const std::uint32_t heardOn = device.place.domain;
    device.place = domains.Place(device.info, {heardOn});
    device.conflict = false;
  }
  SortAndMarkConflicts(&devices);
  return devices;
}

std::string MacString(const DeviceInfo& info) {
  return Utf8(MacText(info.macAddress));
}

std::string Dotted(std::uint32_t numeric) { return Utf8(AddressText(numeric)); }

std::string PageUrl(const DeviceInfo& info) {
  return Utf8(
      WebPageAddress(AddressText(info.ipAddress), PortText(info.httpPort)));
}

std::string ModeText(std::int32_t mode) { return Utf8(IpModeText(mode)); }

std::string UnreachableText(const FoundDevice& device) {
  return MacString(device.info) +
         " was heard only on an interface without an IPv4 address: no change "
         "request can reach it from this computer";
}

std::string DeviceJson(const FoundDevice& device) {
  return JsonObject(Cells(device, true), [](std::size_t) { return true; });
}

std::string DeviceJsonFields(const FoundDevice& device,
                             const std::vector<std::string>& keys) {
  return JsonObject(Cells(device, true), [&keys](std::size_t i) {
    return std::find(keys.begin(), keys.end(), KEYS[i]) != keys.end();
  });
}

void WriteDevicesJson(const std::vector<FoundDevice>& devices,
                      const TextSink& write) {
  if (devices.empty()) {
    write("[]\n");
    return;
  }
  Pieces out(write);
  out.Text() += "[\n";
  for (std::size_t i = 0; i < devices.size(); ++i) {
    out.Text() += "  ";
    out.Text() += DeviceJson(devices[i]);
    out.Text() += i + 1 < devices.size() ? ",\n" : "\n";
    out.LineDone();
  }
  out.Text() += "]\n";
  out.End();
}

void WriteDevicesCsv(const std::vector<FoundDevice>& devices,
                     const TextSink& write) {
  Pieces out(write);
  out.Text() +=
      CsvLine(std::vector<std::string>(std::begin(KEYS), std::end(KEYS)));
  for (const FoundDevice& device : devices) {
    out.Text() += CsvLine(Cells(device, false));
    out.LineDone();
  }
  out.End();
}

std::string DevicesTable(const std::vector<FoundDevice>& devices) {
  std::vector<std::vector<std::string>> rows;
  for (const FoundDevice& device : devices) {
    const DeviceInfo& info = device.info;
    std::string note;
    if (device.conflict) note = "address conflict";
    if (!device.place.reachableFrom)
      note += std::string(note.empty() ? "" : "; ") + UNREACHABLE_NOTE;
    const std::uint32_t adapter = device.place.adapter;
    rows.push_back(
        {Dotted(info.ipAddress), MacString(info), Dotted(info.subnetMask),
         Dotted(info.gateway), std::to_string(info.basePort),
         std::to_string(info.httpPort), ModeText(info.ipMode), device.model,
         device.firmware, adapter ? Dotted(adapter) : "", note});
  }
  return AlignedTable(
             {"IP address", "MAC address", "Mask", "Gateway", "Base port",
              "HTTP port", "IP mode", "Model", "Firmware", "Adapter", "Note"},
             rows) +
         Utf8(FoundCountText(devices.size())) + "\n";
}

}  // namespace cli
