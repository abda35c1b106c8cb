#include "tools/devsim/options.h"

#include "core/text/option_loop.h"
#include "tools/devsim/text_form.h"

namespace devsim {
namespace {

constexpr std::int64_t MAX_DURATION_SECONDS = 1000000;
constexpr int MAX_DELAY_MS = 60000;
constexpr int MAX_NOISE = 1000;
constexpr int MAX_RATE = 1000000;

bool ReadInt(const std::string& name, const std::string& value, int low,
             int high, int* out, std::string* error) {
  std::int32_t parsed = 0;
  if (!ParseInt32(value, &parsed) || parsed < low || parsed > high) {
    *error = name + " needs a whole number from " + std::to_string(low) +
             " to " + std::to_string(high) + ", not '" + value + "'";
    return false;
  }
  *out = parsed;
  return true;
}

bool ReadDelay(const std::string& value, Options* options, std::string* error) {
  const std::size_t colon = value.find(':');
  const std::string low = value.substr(0, colon);
  const std::string high =
      colon == std::string::npos ? low : value.substr(colon + 1);
  if (!ParseInt32(low, &options->delayMinMs) ||
      !ParseInt32(high, &options->delayMaxMs) || options->delayMinMs < 0 ||
      options->delayMinMs > options->delayMaxMs ||
      options->delayMaxMs > MAX_DELAY_MS) {
    *error = "--delay needs MIN:MAX in milliseconds, 0 <= MIN <= MAX <= " +
             std::to_string(MAX_DELAY_MS) + ", not '" + value + "'";
    return false;
  }
  return true;
}

bool ReadDuration(const std::string& value, std::int64_t* durationMs,
                  std::string* error) {
  const std::size_t dot = value.find('.');
  const std::string whole = value.substr(0, dot);
  std::string fraction =
      dot == std::string::npos ? std::string() : value.substr(dot + 1);
  std::uint64_t seconds = 0;
  std::uint64_t millis = 0;
  const bool fractionOk =
      dot == std::string::npos ||
      (!fraction.empty() && fraction.size() <= 3 &&
       ParseUint64(fraction + std::string(3 - fraction.size(), '0'), &millis));
  if (!ParseUint64(whole, &seconds) || !fractionOk ||
      seconds > static_cast<std::uint64_t>(MAX_DURATION_SECONDS) ||
      seconds * 1000 + millis == 0) {
    *error =
        "--duration needs seconds above 0 (at most three decimals), not '" +
        value + "'";
    return false;
  }
  *durationMs = static_cast<std::int64_t>(seconds * 1000 + millis);
  return true;
}

bool ReadMacList(const std::string& value, Options* options,
                 std::string* error) {
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = value.find(',', start);
    const std::string text = value.substr(start, comma - start);
    std::array<std::uint8_t, 6> mac{};
    if (!ParseMac(text, &mac)) {
      *error =
          "--ignore-changes needs MAC addresses separated by commas, "
          "not '" +
          value + "'";
      return false;
    }
    options->ignoreChanges.push_back(mac);
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

// Every option but --help, and whether it takes a value.
OptionKind KindOf(const std::string& name) {
  static const char* const VALUED[] = {
      "--devices", "--count",    "--subnet",         "--delay",
      "--rate",    "--burst",    "--random-start",   "--noise",
      "--repeat",  "--duration", "--ignore-changes", "--interface",
      "--source",
  };
  static const char* const FLAGS[] = {"--log-datagrams", "--print-devices",
                                      "--conflict-detection"};
  for (const char* valued : VALUED) {
    if (name == valued) return OptionKind::Valued;
  }
  for (const char* flag : FLAGS) {
    if (name == flag) return OptionKind::Flag;
  }
  return OptionKind::Unknown;
}

bool Apply(const std::string& name, const std::string& value, Options* options,
           bool* subnetGiven, std::string* error) {
  if (name == "--log-datagrams") options->logDatagrams = true;
  if (name == "--print-devices") options->printDevices = true;
  if (name == "--conflict-detection")
    options->addressCheck = AddressCheck::ConflictDetection;
  if (KindOf(name) == OptionKind::Flag) return true;
  if (name == "--devices") {
    if (value.empty()) {
      *error = "--devices needs a file name";
      return false;
    }
    options->devicesPath = value;
    return true;
  }
  if (name == "--count") {
    return ReadInt(name, value, 1, MAX_DEVICES, &options->count, error);
  }
  if (name == "--subnet") {
    *subnetGiven = true;
    return ParseSubnet(value, &options->subnet, error);
  }
  if (name == "--delay") return ReadDelay(value, options, error);
  if (name == "--rate") {
    return ReadInt(name, value, 1, MAX_RATE, &options->rate, error);
  }
  if (name == "--burst") {
    return ReadInt(name, value, 1, MAX_RATE, &options->burst, error);
  }
  if (name == "--random-start") {
    if (!ParseUint64(value, &options->randomStart)) {
      *error = "--random-start needs a whole number from 0 to 2^64-1, not '" +
               value + "'";
      return false;
    }
    options->haveRandomStart = true;
    return true;
  }
  if (name == "--noise") {
    return ReadInt(name, value, 0, MAX_NOISE, &options->noise, error);
  }
  if (name == "--repeat") {
    return ReadInt(name, value, 0, MAX_REPEAT, &options->repeat, error);
  }
  if (name == "--ignore-changes") return ReadMacList(value, options, error);
  if (name == "--interface") {
    // The system's limit for an interface name: 15 characters.
    if (value.empty() || value.size() > 15) {
      *error = "--interface needs an interface name of 1 to 15 characters";
      return false;
    }
    options->interfaceName = value;
    return true;
  }
  if (name == "--source") {
    if (!ParseAddress(value, &options->sourceAddress) ||
        options->sourceAddress == 0 ||
        options->sourceAddress == BROADCAST_ADDRESS) {
      *error = "--source needs an address of this host, not '" + value + "'";
      return false;
    }
    return true;
  }
  return ReadDuration(value, &options->durationMs, error);
}

}  // namespace

OptionsResult ParseOptions(const std::vector<std::string>& args) {
  OptionsResult result;
  Options& options = result.options;
  // --help answers whatever else the line holds.
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      result.ok = true;
      return result;
    }
  }
  bool subnetGiven = false;
  OptionReader reader;
  reader.kind = KindOf;
  reader.option = [&](const std::string& name, const std::string& value,
                      std::string* error) {
    return Apply(name, value, &options, &subnetGiven, error);
  };
  reader.positional = [](const std::string& arg, std::string* error) {
    *error = arg.compare(0, 1, "-") == 0
                 ? "unknown option '" + arg.substr(0, arg.find('=')) + "'"
                 : "unexpected argument '" + arg + "'";
    return false;
  };
  if (!ReadOptions(args, 0, reader, &result.error)) return result;
  if (options.devicesPath.empty() == (options.count == 0)) {
    result.error = "give either --devices FILE or --count N";
    return result;
  }
  if (subnetGiven && options.count == 0) {
    result.error = "--subnet only applies with --count";
    return result;
  }
  result.ok = true;
  return result;
}

std::string UsageText() {
  return R"(Usage: quellan-devsim (--devices FILE | --count N [--subnet NET/P]) [options]

Emulates network video devices on one UDP socket bound to 0.0.0.0:64988 (and,
with --source, one that sends from that address; with ONVIF devices in the
file, one on 0.0.0.0:3702 that joins 239.255.255.250 on each interface
served). Every device of ours answers each
search request with a reply broadcast to 255.255.255.255:64988 and takes the
six network settings of a change request addressed to its MAC address. Events
go to standard output, one JSON object a line; errors go to standard error.

Devices:
  --devices FILE     read the devices from a CSV file (columns below)
  --count N          generate N devices (1 to 100000) instead
  --subnet NET/P     subnet of generated devices (default 10.77.0.0/24);
                     addresses start at host 10 and skip every x.x.x.0 and
                     x.x.x.255, the gateway is the first host; 5000 devices
                     need a /19 or larger
  --repeat N         replies per device and search (0 to 16, default 1); for
                     CSV rows, the default of an empty repeat cell
  --print-devices    write the devices as CSV to standard output and exit

Answering:
  --delay MIN:MAX    each reply waits a random MIN to MAX milliseconds
                     (default 0:300; a single number fixes the delay)
  --rate N           send at most N datagrams a second (default 5000)
  --burst N          ... with at most N at once (default 32)
  --random-start N   start value of the random delays and the junk, to
                     repeat a run (default: random, shown in the ready line)
  --noise N          with each search also broadcast N junk datagrams of
                     sizes 0, 1, 23, 95, 97, 300, 7, 24, 64, 96, 256, 257 (in
                     turn) whose magic and command are wrong
  --ignore-changes MAC[,MAC...]
                     these devices log the change requests they get but keep
                     their settings, like a device that never takes them
  --conflict-detection
                     a device asked for an address that another simulated
                     device shows keeps its old settings, as devices that
                     check an address is free before taking it do
  --source ADDR      send every reply and junk datagram from ADDR, an address
                     of this host (e.g. one added to the --interface link), to
                     play devices whose address lies outside the link's subnet

Running:
  --interface NAME   serve the interface NAME only: hear and answer what
                     arrives there, send through it (Linux SO_BINDTODEVICE;
                     refused on Windows). One simulator per interface serves
                     several broadcast domains of one host
  --log-datagrams    print every received datagram except the simulator's own
                     broadcasts coming back
  --duration SECONDS exit after this long (decimals allowed, e.g. 2.5)
  -h, --help         show this text

CSV file: a header row naming the columns, in any order, then one device a
line. Blank lines and lines starting with # are skipped; cells are trimmed;
quotes are not supported. Required columns:
  mac          AA:BB:CC:DD:EE:FF (or with -); duplicates are allowed
  ip_mode      any 32-bit number (0 fixed, 1 DHCP, 2 PPPoE)
  ip, gateway, mask   dotted addresses
  base_port, http_port   any 32-bit number, e.g. -1
  model, firmware     up to 16 printable ASCII characters, may be empty
Optional columns (an empty cell takes the default):
  body_length  bodyLength written in the reply header (default 72)
  repeat       replies per search (0 to 16; default --repeat)
  reply_size   bytes sent, 0 to 1472: shorter cuts the reply, longer pads it
               with zeros (default 96)
  reserved1    4 hex digits, the two reserved bytes after the MAC (default 0)
  reserved2    16 hex digits, the eight reserved bytes after the HTTP port
               (default 0)
  protocols    quellan (default), onvif (WS-Discovery only: the device does
               not answer our search nor take our changes) or quellan+onvif
ONVIF devices (protocols onvif or quellan+onvif) answer WS-Discovery probes
on 239.255.255.250:3702, each after a random 0 to 500 ms, with a ProbeMatch
unicast to the prober. Their optional columns:
  name, hardware   scopes, up to 64 bytes of UTF-8 (default: the model)
  location     a location scope (default: none)
  endpoint     the endpoint address (default: urn:uuid:51c0da7a-0000-4000-
               8000-<the MAC's 12 hex digits>)
  mac_scope    none (default), colons, hyphens or bare: whether and how the
               scopes carry the MAC
  link_local   a 169.254.x.y address listed first among the service addresses

Output lines (JSON, one per line, flushed at once):
  {"event":"ready",...}     once the socket is bound
  {"event":"search",...}    per search request answered
  {"event":"change",...}    per device changed: mac, old and new settings,
                            and the received 72-byte body as hex
  {"event":"change_ignored",...}  change request for an --ignore-changes MAC
  {"event":"change_address_in_use",...}  with --conflict-detection, a
                            change request for an address another device
                            shows; the device kept its settings
  {"event":"change_unknown",...}  change request for no known MAC
  {"event":"change_short",...}    change request shorter than 96 bytes
  {"event":"probe",...}     per WS-Discovery probe: message_id, matches
  {"event":"probe_unread",...}  another message on the probe port
  {"event":"datagram",...}  per received datagram, with --log-datagrams
  {"event":"exit",...}      on the way out, with counters

Exit status: 0 after --duration or an interrupt, 1 when the socket cannot be
set up, 2 for a bad command line (and for --interface on Windows), 3 for a
bad device file.
)";
}

}  // namespace devsim
