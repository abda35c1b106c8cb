#include "tools/devsim/device_csv.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "tools/devsim/device_set.h"
#include "tools/devsim/onvif_identity.h"
#include "tools/devsim/text_form.h"

namespace devsim {
namespace {

enum Column {
  MAC,
  IP_MODE,
  IP,
  GATEWAY,
  MASK,
  BASE_PORT,
  HTTP_PORT,
  MODEL,
  FIRMWARE,
  BODY_LENGTH,
  REPEAT,
  REPLY_SIZE,
  RESERVED1,
  RESERVED2,
  PROTOCOLS,
  NAME,
  HARDWARE,
  LOCATION,
  ENDPOINT,
  MAC_SCOPE,
  LINK_LOCAL,
  COLUMN_COUNT
};
// The ONVIF columns are written only for a set with an ONVIF device, so a
// file of our own devices reads and prints as it always did.
constexpr int FIRST_ONVIF_COLUMN = PROTOCOLS;
constexpr int REQUIRED_COLUMNS = FIRMWARE + 1;

const char* const COLUMN_NAMES[COLUMN_COUNT] = {
    "mac",        "ip_mode",    "ip",        "gateway",   "mask",
    "base_port",  "http_port",  "model",     "firmware",  "body_length",
    "repeat",     "reply_size", "reserved1", "reserved2", "protocols",
    "name",       "hardware",   "location",  "endpoint",  "mac_scope",
    "link_local",
};

std::vector<std::string> SplitCells(const std::string& line) {
  std::vector<std::string> cells;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = line.find(',', start);
    cells.push_back(Trimmed(line.substr(start, comma - start)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return cells;
}

// Maps each column to its cell index, -1 when absent.
using ColumnMap = std::array<int, COLUMN_COUNT>;

bool ReadHeader(const std::vector<std::string>& cells, ColumnMap* map,
                std::string* error) {
  map->fill(-1);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const std::string name = AsciiLower(cells[i]);
    int column = -1;
    for (int c = 0; c < COLUMN_COUNT; ++c) {
      if (name == COLUMN_NAMES[c]) column = c;
    }
    if (column < 0) {
      *error = "unknown column '" + cells[i] + "' in the header row";
      return false;
    }
    if ((*map)[column] >= 0) {
      *error = "column '" + name + "' appears twice in the header row";
      return false;
    }
    (*map)[column] = static_cast<int>(i);
  }
  for (int c = 0; c < REQUIRED_COLUMNS; ++c) {
    if ((*map)[c] < 0) {
      *error = std::string("the header row lacks the column '") +
               COLUMN_NAMES[c] + "'";
      return false;
    }
  }
  return true;
}

bool ReadAddress(const std::string& cell, const char* what,
                 std::uint32_t* value, std::string* error) {
  if (ParseAddress(cell, value)) return true;
  *error = std::string("bad ") + what + " '" + cell + "'";
  return false;
}

bool ReadNumber(const std::string& cell, const char* what, std::int32_t low,
                std::int32_t high, std::int32_t* value, std::string* error) {
  std::int32_t parsed = 0;
  if (!ParseInt32(cell, &parsed) || parsed < low || parsed > high) {
    *error = std::string("bad ") + what + " '" + cell + "' (expected " +
             std::to_string(low) + " to " + std::to_string(high) + ")";
    return false;
  }
  *value = parsed;
  return true;
}

bool ReadText(const std::string& cell, const char* what, DeviceText* area,
              std::string* error) {
  const std::string named = std::string(what) + " '" + cell + "'";
  if (cell.find('"') != std::string::npos) {
    *error = named + " holds a quote; quotes are not supported";
    return false;
  }
  if (cell.size() > DEVICE_TEXT_SIZE) {
    *error = named + " is longer than " + std::to_string(DEVICE_TEXT_SIZE) +
             " characters";
    return false;
  }
  if (!MakeDeviceText(cell, area)) {
    *error = named + " holds a character outside printable ASCII";
    return false;
  }
  return true;
}

// An optional column: an empty cell keeps the default in `value`.
bool ReadOptional(const std::string& cell, const char* what, std::int32_t low,
                  std::int32_t high, std::int32_t* value, std::string* error) {
  return cell.empty() || ReadNumber(cell, what, low, high, value, error);
}

template <std::size_t N>
bool ReadReserved(const std::string& cell, const char* what,
                  std::array<std::uint8_t, N>* bytes, std::string* error) {
  if (cell.empty()) return true;
  if (ParseHex(cell, bytes->data(), N)) return true;
  *error = std::string("bad ") + what + " '" + cell + "' (expected " +
           std::to_string(N * 2) + " hex digits)";
  return false;
}

bool ReadOnvifText(const std::string& cell, const char* what, std::string* text,
                   std::string* error) {
  if (!IsOnvifText(cell)) {
    *error = std::string(what) + " '" + cell + "' is longer than " +
             std::to_string(MAX_ONVIF_TEXT) +
             " bytes or holds a control character or a quote";
    return false;
  }
  *text = cell;
  return true;
}

// The ONVIF columns. A device of ours alone ignores them; an ONVIF device
// takes its name and hardware from the model when they are empty, and an
// endpoint derived from its MAC.
bool ReadOnvif(const std::function<std::string(Column)>& cell,
               SimDevice* device, std::string* error) {
  if (!cell(PROTOCOLS).empty() &&
      !ParseNamed(cell(PROTOCOLS), PROTOCOLS_NAMES, &device->protocols)) {
    *error = "bad protocols '" + cell(PROTOCOLS) +
             "' (expected quellan, onvif or quellan+onvif)";
    return false;
  }
  if (!AnswersOnvif(*device)) return true;
  OnvifIdentity& onvif = device->onvif;
  const std::string model = DeviceTextString(device->info.modelName);
  if (!ReadOnvifText(cell(NAME), "name", &onvif.name, error) ||
      !ReadOnvifText(cell(HARDWARE), "hardware", &onvif.hardware, error) ||
      !ReadOnvifText(cell(LOCATION), "location", &onvif.location, error)) {
    return false;
  }
  if (onvif.name.empty()) onvif.name = model;
  if (onvif.hardware.empty()) onvif.hardware = model;
  if (onvif.name.empty() || onvif.hardware.empty()) {
    *error = "an onvif device needs a name and hardware (or a model)";
    return false;
  }
  onvif.endpoint = cell(ENDPOINT).empty()
                       ? DerivedEndpoint(device->info.macAddress)
                       : cell(ENDPOINT);
  if (!IsEndpoint(onvif.endpoint)) {
    *error = "bad endpoint '" + onvif.endpoint +
             "' (expected a URI such as urn:uuid:..., without spaces)";
    return false;
  }
  if (!cell(MAC_SCOPE).empty() &&
      !ParseNamed(cell(MAC_SCOPE), MAC_SCOPE_NAMES, &onvif.macScope)) {
    *error = "bad mac_scope '" + cell(MAC_SCOPE) +
             "' (expected none, colons, hyphens or bare)";
    return false;
  }
  constexpr std::uint32_t LINK_LOCAL_NET = 0xA9FE0000u;  // 169.254/16
  if (!cell(LINK_LOCAL).empty() &&
      (!ParseAddress(cell(LINK_LOCAL), &onvif.linkLocal) ||
       (onvif.linkLocal & 0xFFFF0000u) != LINK_LOCAL_NET)) {
    *error = "bad link_local '" + cell(LINK_LOCAL) +
             "' (expected an address in 169.254.0.0/16)";
    return false;
  }
  return true;
}

bool ReadRow(const std::vector<std::string>& cells, const ColumnMap& map,
             int defaultRepeat, SimDevice* device, std::string* error) {
  const std::function<std::string(Column)> cell = [&](Column column) {
    return map[column] < 0 ? std::string() : cells[map[column]];
  };
  const std::int32_t MIN = INT32_MIN;
  const std::int32_t MAX = INT32_MAX;
  DeviceInfo& info = device->info;
  device->repeat = defaultRepeat;
  std::int32_t replySize = static_cast<std::int32_t>(device->replySize);
  if (!ParseMac(cell(MAC), &info.macAddress)) {
    *error = "bad MAC address '" + cell(MAC) + "'";
    return false;
  }
  if (!ReadNumber(cell(IP_MODE), "ip_mode", MIN, MAX, &info.ipMode, error) ||
      !ReadAddress(cell(IP), "IP address", &info.ipAddress, error) ||
      !ReadAddress(cell(GATEWAY), "gateway", &info.gateway, error) ||
      !ReadAddress(cell(MASK), "subnet mask", &info.subnetMask, error) ||
      !ReadNumber(cell(BASE_PORT), "base_port", MIN, MAX, &info.basePort,
                  error) ||
      !ReadNumber(cell(HTTP_PORT), "http_port", MIN, MAX, &info.httpPort,
                  error) ||
      !ReadText(cell(MODEL), "model", &info.modelName, error) ||
      !ReadText(cell(FIRMWARE), "firmware", &info.firmware, error) ||
      !ReadReserved(cell(RESERVED1), "reserved1", &info.reserved1, error) ||
      !ReadReserved(cell(RESERVED2), "reserved2", &info.reserved2, error) ||
      !ReadOptional(cell(BODY_LENGTH), "body_length", MIN, MAX,
                    &device->bodyLength, error) ||
      !ReadOptional(cell(REPEAT), "repeat", 0, MAX_REPEAT, &device->repeat,
                    error) ||
      !ReadOptional(cell(REPLY_SIZE), "reply_size", 0,
                    static_cast<std::int32_t>(MAX_REPLY_SIZE), &replySize,
                    error)) {
    return false;
  }
  device->replySize = static_cast<std::size_t>(replySize);
  return ReadOnvif(cell, device, error);
}

}  // namespace

CsvResult ReadDeviceCsv(const std::string& text, const std::string& source,
                        int defaultRepeat) {
  CsvResult result;
  ColumnMap map{};
  bool haveHeader = false;
  // Every header cell names a column of its own, so a row has as many.
  std::size_t columns = 0;
  int lineNumber = 0;
  std::size_t start = 0;
  // A byte order mark from a Windows editor is not part of the header.
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    const std::vector<std::string> cells = SplitCells(line);
    std::string error;
    SimDevice device;
    if (!haveHeader) {
      haveHeader = ReadHeader(cells, &map, &error);
      columns = cells.size();
    } else if (cells.size() != columns) {
      error = std::to_string(cells.size()) +
              " fields, but the header row has " + std::to_string(columns);
    } else if (result.devices.size() >= static_cast<std::size_t>(MAX_DEVICES)) {
      error = "more than " + std::to_string(MAX_DEVICES) + " devices";
    } else if (ReadRow(cells, map, defaultRepeat, &device, &error)) {
      result.devices.push_back(device);
    }
    if (!error.empty()) {
      result.error = source + ":" + std::to_string(lineNumber) + ": " + error;
      result.line = lineNumber;
      return result;
    }
  }
  if (!haveHeader) {
    result.error = source +
                   ": no header row (expected a line naming the "
                   "columns, e.g. mac,ip_mode,ip,...)";
    return result;
  }
  result.ok = true;
  return result;
}

namespace {

std::string OnvifCells(const SimDevice& device) {
  const OnvifIdentity& onvif = device.onvif;
  std::string text =
      std::string(",") + NameOf(PROTOCOLS_NAMES, device.protocols);
  if (!AnswersOnvif(device)) return text + ",,,,,,";
  return text + ',' + onvif.name + ',' + onvif.hardware + ',' + onvif.location +
         ',' + onvif.endpoint + ',' + NameOf(MAC_SCOPE_NAMES, onvif.macScope) +
         ',' +
         (onvif.linkLocal != 0 ? DottedText(onvif.linkLocal) : std::string());
}

}  // namespace

std::string WriteDeviceCsv(const std::vector<SimDevice>& devices) {
  bool anyOnvif = false;
  for (const SimDevice& device : devices) anyOnvif |= AnswersOnvif(device);
  const int columns = anyOnvif ? COLUMN_COUNT : FIRST_ONVIF_COLUMN;
  std::string text;
  for (int c = 0; c < columns; ++c) {
    if (c > 0) text += ',';
    text += COLUMN_NAMES[c];
  }
  text += '\n';
  for (const SimDevice& device : devices) {
    const DeviceInfo& info = device.info;
    text +=
        MacString(info.macAddress) + ',' + std::to_string(info.ipMode) + ',' +
        DottedText(info.ipAddress) + ',' + DottedText(info.gateway) + ',' +
        DottedText(info.subnetMask) + ',' + std::to_string(info.basePort) +
        ',' + std::to_string(info.httpPort) + ',' +
        DeviceTextString(info.modelName) + ',' +
        DeviceTextString(info.firmware) + ',' +
        std::to_string(device.bodyLength) + ',' +
        std::to_string(device.repeat) + ',' + std::to_string(device.replySize) +
        ',' + HexOf(info.reserved1.data(), info.reserved1.size()) + ',' +
        HexOf(info.reserved2.data(), info.reserved2.size()) +
        (anyOnvif ? OnvifCells(device) : std::string()) + '\n';
  }
  return text;
}

}  // namespace devsim
