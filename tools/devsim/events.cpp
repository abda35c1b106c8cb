#include "tools/devsim/events.h"

#include "core/protocol/datagram.h"
#include "core/text/json_line.h"
#include "tools/devsim/text_form.h"

namespace devsim {
namespace {

std::int64_t Count(std::size_t value) {
  return static_cast<std::int64_t>(value);
}

JsonLine Event(const char* name) { return JsonLine().Text("event", name); }

JsonLine Event(const char* name, const Sender& from) {
  return Event(name)
      .Text("from", DottedText(from.address))
      .Number("port", from.port);
}

std::string SettingsJson(const DeviceInfo& info) {
  return JsonLine()
      .Number("ip_mode", info.ipMode)
      .Text("ip", DottedText(info.ipAddress))
      .Text("gateway", DottedText(info.gateway))
      .Text("mask", DottedText(info.subnetMask))
      .Number("base_port", info.basePort)
      .Number("http_port", info.httpPort)
      .Str();
}

}  // namespace

const char* DatagramKind(const std::uint8_t* data, std::size_t size) {
  if (size < 8) return "other";
  const std::uint32_t magic = ReadU32(data);
  const std::uint32_t command = ReadU32(data + 4);
  if (magic == REQUEST_MAGIC && command == CMD_SEARCH) return "search";
  if (magic == REQUEST_MAGIC && command == CMD_CHANGE_IP) return "change";
  if (magic == REPLY_MAGIC && command == CMD_SEARCH_REPLY) return "reply";
  return "other";
}

JsonLine ReadyEvent(const Options& options, std::uint64_t randomStart,
                    std::size_t devices, std::size_t onvifDevices) {
  JsonLine line = Event("ready")
                      .Text("address", "0.0.0.0")
                      .Number("port", DISCOVERY_PORT)
                      .Number("devices", Count(devices))
                      .Raw("random_start", std::to_string(randomStart))
                      .Number("delay_min_ms", options.delayMinMs)
                      .Number("delay_max_ms", options.delayMaxMs)
                      .Number("rate", options.rate)
                      .Number("burst", options.burst)
                      .Number("noise", options.noise)
                      .Number("duration_ms", options.durationMs);
  if (!options.interfaceName.empty())
    line.Text("interface", options.interfaceName);
  if (options.sourceAddress != 0)
    line.Text("source", DottedText(options.sourceAddress));
  if (onvifDevices > 0) line.Number("onvif_devices", Count(onvifDevices));
  return line;
}

JsonLine DatagramEvent(const Sender& from, const std::uint8_t* data,
                       std::size_t size) {
  return Event("datagram", from)
      .Number("size", Count(size))
      .Text("kind", DatagramKind(data, size))
      .Text("hex", HexOf(data, size));
}

JsonLine SearchEvent(const Sender& from, const PlannedSearch& plan,
                     std::size_t pending) {
  return Event("search", from)
      .Number("replies", Count(plan.replies))
      .Number("noise", Count(plan.noise))
      .Number("pending", Count(pending));
}

JsonLine SearchDroppedEvent(const Sender& from, std::size_t pending) {
  return Event("search_dropped", from).Number("pending", Count(pending));
}

JsonLine ChangeEvent(const Sender& from, const AppliedChange& change,
                     const std::uint8_t* body) {
  return Event("change", from)
      .Number("device", Count(change.device))
      .Text("mac", MacString(change.after.macAddress))
      .Raw("old", SettingsJson(change.before))
      .Raw("new", SettingsJson(change.after))
      .Text("body", HexOf(body, DEVICE_INFO_SIZE));
}

JsonLine ChangeNotTakenEvent(ChangeNotTaken why, const Sender& from,
                             const std::uint8_t* body) {
  return Event(why == ChangeNotTaken::Unknown ? "change_unknown"
                                              : "change_ignored",
               from)
      .Text("mac", MacString(ParseDeviceInfo(body).macAddress))
      .Text("body", HexOf(body, DEVICE_INFO_SIZE));
}

JsonLine ChangeAddressInUseEvent(const Sender& from,
                                 const AppliedChange& change,
                                 const std::uint8_t* body) {
  return Event("change_address_in_use", from)
      .Number("device", Count(change.device))
      .Text("mac", MacString(change.before.macAddress))
      .Text("body", HexOf(body, DEVICE_INFO_SIZE));
}

JsonLine ChangeShortEvent(const Sender& from, std::size_t size) {
  return Event("change_short", from).Number("size", Count(size));
}

JsonLine ProbeEvent(const Sender& from, const std::string& messageId,
                    std::size_t matches, std::size_t pending) {
  return Event("probe", from)
      .Text("message_id", messageId)
      .Number("matches", Count(matches))
      .Number("pending", Count(pending));
}

JsonLine ProbeDroppedEvent(const Sender& from, std::size_t pending) {
  return Event("probe_dropped", from).Number("pending", Count(pending));
}

JsonLine ProbeUnreadEvent(const Sender& from, std::size_t size) {
  return Event("probe_unread", from).Number("size", Count(size));
}

JsonLine SendFailedEvent(std::size_t size, const Sender& to) {
  return Event("send_failed")
      .Text("to", DottedText(to.address))
      .Number("port", to.port)
      .Number("size", Count(size));
}

JsonLine ExitEvent(const char* reason, const RunCounters& counters) {
  JsonLine line = Event("exit")
                      .Text("reason", reason)
                      .Number("searches", counters.searches)
                      .Number("changes", counters.changes)
                      .Number("replies_sent", counters.repliesSent)
                      .Number("noise_sent", counters.noiseSent)
                      .Number("send_failures", counters.sendFailures)
                      .Number("received", counters.received)
                      .Number("echoes", counters.echoes)
                      .Number("pending", counters.pending);
  if (counters.onvif == RunCounters::Onvif::Served) {
    line.Number("probes", counters.probes)
        .Number("probe_matches_sent", counters.probeMatchesSent);
  }
  return line;
}

}  // namespace devsim
