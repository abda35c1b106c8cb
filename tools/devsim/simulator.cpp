#include "tools/devsim/simulator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <utility>

#include "core/engine/net.h"
#include "core/protocol/datagram.h"
#include "core/wsdiscovery/probe_message.h"
#include "platform/stop_signal.h"
#include "tools/devsim/device_set.h"
#include "tools/devsim/echo_filter.h"
#include "tools/devsim/events.h"
#include "tools/devsim/noise.h"
#include "tools/devsim/onvif_reply.h"
#include "tools/devsim/onvif_senders.h"
#include "tools/devsim/schedule.h"
#include "tools/devsim/search_plan.h"
#include "tools/devsim/text_form.h"

namespace devsim {
namespace {

// Room for any UDP datagram, so the log shows even what a device would drop.
constexpr std::size_t RECEIVE_CAPACITY = 65536;
constexpr int SOCKET_BUFFER_BYTES = 1 << 20;
// How long a wait may last before the stop flag is looked at again.
constexpr Micros STOP_POLL = 100000;
// Receiving stops after this many in a row so that due sends are not starved.
constexpr int RECEIVES_PER_PASS = 256;
constexpr std::size_t MAX_PENDING = 1000000;
constexpr int MAX_WAIT_FAILURES = 100;
constexpr Micros ECHO_MEMORY = 10000000;
constexpr std::size_t ECHO_CAPACITY = 200000;
// Where ONVIF devices listen for WS-Discovery probes: 239.255.255.250:3702.
constexpr std::uint16_t WS_DISCOVERY_PORT = 3702;
constexpr std::uint32_t WS_DISCOVERY_GROUP = 0xEFFFFFFAu;

std::size_t OnvifCount(const std::vector<SimDevice>& devices) {
  std::size_t count = 0;
  for (const SimDevice& device : devices) count += AnswersOnvif(device);
  return count;
}

// A probe that devices still have to answer, and where the answers go.
struct PendingProbe {
  std::string messageId;
  net::Endpoint to;
  std::size_t unanswered = 0;
};

class Simulator {
 public:
  Simulator(const Options& options, std::uint64_t randomStart,
            std::vector<SimDevice> devices)
      : options_(options),
        randomStart_(randomStart),
        devices_(std::move(devices)),
        rng_(randomStart),
        messageIds_(randomStart ^ 0x5753440000000000u),
        schedule_(options.rate, options.burst),
        echoes_(ECHO_MEMORY, ECHO_CAPACITY),
        buffer_(RECEIVE_CAPACITY),
        start_(std::chrono::steady_clock::now()) {
    window_.earliest = static_cast<Micros>(options.delayMinMs) * 1000;
    window_.latest = static_cast<Micros>(options.delayMaxMs) * 1000;
  }

  int Run() {
    const int opened = Open();
    if (opened != 0) {
      CloseSockets();
      return opened;
    }
    ReadyEvent(options_, randomStart_, devices_.size(), OnvifCount(devices_))
        .Print();
    const Micros end =
        options_.durationMs > 0 ? options_.durationMs * 1000 : NEVER;
    const char* reason = "signal";
    int status = 0;
    int waitFailures = 0;
    while (!StopRequested()) {
      Micros now = Now();
      if (now >= end) {
        reason = "duration";
        break;
      }
      SendDue(now);
      now = Now();
      const Micros wakeAt = std::min(schedule_.NextSendAt(now), end);
      const Micros wait =
          std::max<Micros>(0, std::min(wakeAt - now, STOP_POLL));
      const int timeoutMs = static_cast<int>((wait + 999) / 1000);
      const net::WaitResult waited = Wait(timeoutMs);
      waitFailures = waited == net::WaitResult::Failed ? waitFailures + 1 : 0;
      if (waitFailures > MAX_WAIT_FAILURES) {
        std::fprintf(stderr,
                     "quellan-devsim: waiting on the socket keeps "
                     "failing\n");
        reason = "error";
        status = 1;
        break;
      }
      if (waited != net::WaitResult::Readable) continue;
      if (IsReadable(socket_)) Drain(socket_, &Simulator::Handle);
      if (onvifSocket_ != net::NO_SOCKET && IsReadable(onvifSocket_))
        Drain(onvifSocket_, &Simulator::HandleProbe);
    }
    counters_.pending = static_cast<std::int64_t>(schedule_.Pending());
    ExitEvent(reason, counters_).Print();
    CloseSockets();
    return status;
  }

 private:
  Micros Now() const {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now() - start_)
        .count();
  }

  // 0 once the sockets are set up, else the exit status; Run closes what
  // was opened either way.
  int Open() {
    if (!net::Startup()) {
      std::fprintf(stderr,
                   "quellan-devsim: the socket library did not "
                   "start\n");
      return 1;
    }
    socket_ = sendSocket_ = net::OpenUdp();
    if (socket_ == net::NO_SOCKET) {
      std::fprintf(stderr, "quellan-devsim: cannot open a UDP socket\n");
      return 1;
    }
    // A larger buffer only helps against floods of searches; without it the
    // simulator still works.
    net::SetReceiveBuffer(socket_, SOCKET_BUFFER_BYTES);
    int status = SetUp(socket_, 0);
    if (status == 0) status = OpenOnvif();
    if (status != 0 || options_.sourceAddress == 0) return status;
    // Sends from an address of their own: a second socket, never read
    // (a broadcast never reaches a socket bound to a single address).
    sendSocket_ = net::OpenUdp();
    return sendSocket_ == net::NO_SOCKET
               ? 1
               : SetUp(sendSocket_, options_.sourceAddress);
  }

  // The WS-Discovery socket, only when some device answers ONVIF: bound to
  // the probe port with address reuse (one simulator per interface may run
  // in one namespace) and a member of the probe group on each interface
  // served. 0, or the exit status with its message.
  int OpenOnvif() {
    if (OnvifCount(devices_) == 0) return 0;
    counters_.onvif = RunCounters::Onvif::Served;
    onvifSocket_ = net::OpenUdp();
    const std::string& name = options_.interfaceName;
    if (onvifSocket_ == net::NO_SOCKET ||
        (!name.empty() && net::BindToInterface(onvifSocket_, name) !=
                              net::InterfaceBinding::Bound) ||
        !net::EnableAddressReuse(onvifSocket_) ||
        !net::Bind(onvifSocket_, net::Endpoint{0, WS_DISCOVERY_PORT})) {
      std::fprintf(stderr,
                   "quellan-devsim: cannot bind 0.0.0.0:%u for the ONVIF "
                   "devices (is the port held without reuse?)\n",
                   static_cast<unsigned>(WS_DISCOVERY_PORT));
      return 1;
    }
    net::SetReceiveBuffer(onvifSocket_, SOCKET_BUFFER_BYTES);
    int joined = 0;
    for (const net::Adapter& adapter : net::ListAdapters().adapters) {
      if (!name.empty() && adapter.name != name) continue;
      joined +=
          net::JoinMulticast(onvifSocket_, WS_DISCOVERY_GROUP, adapter.index);
    }
    if (joined == 0) {
      std::fprintf(stderr,
                   "quellan-devsim: cannot join 239.255.255.250 on %s\n",
                   name.empty() ? "any interface" : name.c_str());
      return 1;
    }
    return 0;
  }

  // Binds `socket` to `address`:64988 for broadcasts, and to the interface
  // when one is served; 0, or the exit status with its message.
  int SetUp(net::Socket socket, std::uint32_t address) {
    const std::string& name = options_.interfaceName;
    if (!name.empty()) {
      switch (net::BindToInterface(socket, name)) {
        case net::InterfaceBinding::Bound:
          break;
        case net::InterfaceBinding::Unsupported:
          std::fprintf(stderr,
                       "quellan-devsim: --interface is not available on "
                       "Windows, whose sockets cannot be bound to one "
                       "interface\n");
          return 2;
        case net::InterfaceBinding::Failed:
          std::fprintf(stderr,
                       "quellan-devsim: cannot bind to interface '%s' (no "
                       "such interface, or not allowed)\n",
                       name.c_str());
          return 1;
      }
    }
    if (!net::EnableAddressReuse(socket) || !net::EnableBroadcast(socket) ||
        !net::Bind(socket, net::Endpoint{address, DISCOVERY_PORT})) {
      std::fprintf(stderr,
                   "quellan-devsim: cannot bind %s:%u with address reuse and "
                   "broadcast (%s)\n",
                   DottedText(address).c_str(),
                   static_cast<unsigned>(DISCOVERY_PORT),
                   address == 0 ? "is the port held without reuse?"
                                : "is it an address of this host?");
      return 1;
    }
    return 0;
  }

  void CloseSockets() {
    if (sendSocket_ != socket_) net::Close(sendSocket_);
    net::Close(socket_);
    net::Close(onvifSocket_);
    senders_.Close();
    sendSocket_ = socket_ = onvifSocket_ = net::NO_SOCKET;
    net::Cleanup();
  }

  net::WaitResult Wait(int timeoutMs) {
    if (onvifSocket_ == net::NO_SOCKET)
      return net::WaitReadable(socket_, net::NO_SOCKET, timeoutMs);
    return net::WaitAnyReadable({socket_, onvifSocket_}, timeoutMs);
  }

  static bool IsReadable(net::Socket socket) {
    return net::WaitReadable(socket, net::NO_SOCKET, 0) ==
           net::WaitResult::Readable;
  }

  void SendDue(Micros now) {
    SendItem item;
    while (schedule_.TakeDue(now, &item)) {
      if (item.kind == SendItem::Kind::ProbeMatch) {
        SendProbeMatch(item);
        continue;
      }
      const bool reply = item.kind == SendItem::Kind::Reply;
      const std::vector<std::uint8_t> bytes =
          reply ? BuildReply(devices_[item.index])
                : MakeNoise(item.noiseKey, item.index);
      // A zero-length datagram still needs a valid pointer.
      static const std::uint8_t NOTHING = 0;
      const std::uint8_t* data = bytes.empty() ? &NOTHING : bytes.data();
      if (!net::SendTo(sendSocket_, data, bytes.size(),
                       net::Endpoint{BROADCAST_ADDRESS, DISCOVERY_PORT})) {
        if (counters_.sendFailures++ == 0) {
          SendFailedEvent(bytes.size()).Print();
        }
        continue;
      }
      echoes_.Remember(data, bytes.size(), now);
      ++(reply ? counters_.repliesSent : counters_.noiseSent);
    }
  }

  // Unicast to the prober, from the probe port as devices answer, and
  // through the pacer like every other send.
  void SendProbeMatch(const SendItem& item) {
    const auto probe = probes_.find(item.probe);
    if (probe == probes_.end()) return;
    PendingProbe& pending = probe->second;
    const std::string message = ProbeMatchesMessage(
        devices_[item.index], pending.messageId, RandomMessageId(messageIds_));
    const auto* data = reinterpret_cast<const std::uint8_t*>(message.data());
    const net::Socket from =
        senders_.For(devices_[item.index].info.ipAddress, onvifSocket_);
    if (net::SendTo(from, data, message.size(), pending.to)) {
      ++counters_.probeMatchesSent;
    } else if (counters_.sendFailures++ == 0) {
      SendFailedEvent(message.size(),
                      Sender{pending.to.address, pending.to.port})
          .Print();
    }
    if (--pending.unanswered == 0) probes_.erase(probe);
  }

  void Drain(net::Socket socket,
             void (Simulator::*handle)(std::size_t, const Sender&)) {
    for (int n = 0; n < RECEIVES_PER_PASS; ++n) {
      net::Arrival arrival;
      const int size =
          net::ReceiveFrom(socket, buffer_.data(), buffer_.size(), &arrival);
      if (size >= 0) {
        (this->*handle)(static_cast<std::size_t>(size),
                        Sender{arrival.from.address, arrival.from.port});
      }
      if (!IsReadable(socket)) return;
    }
  }

  void HandleProbe(std::size_t size, const Sender& from) {
    ++counters_.received;
    if (options_.logDatagrams)
      DatagramEvent(from, buffer_.data(), size).Print();
    const ProbeReading probe = ReadProbe(buffer_.data(), size);
    if (probe.status != ProbeStatus::Ok) {
      ProbeUnreadEvent(from, size).Print();
      return;
    }
    if (schedule_.Pending() + OnvifCount(devices_) > MAX_PENDING) {
      ProbeDroppedEvent(from, schedule_.Pending()).Print();
      return;
    }
    ++counters_.probes;
    senders_.Retry();
    std::size_t matches = 0;
    if (ProbeTypesMatch(probe.types)) {
      matches = PlanProbeMatches(devices_, nextProbe_, Now(), rng_, schedule_);
    }
    if (matches > 0) {
      probes_[nextProbe_++] = PendingProbe{
          probe.messageId, net::Endpoint{from.address, from.port}, matches};
    }
    ProbeEvent(from, probe.messageId, matches, schedule_.Pending()).Print();
  }

  void Handle(std::size_t size, const Sender& from) {
    const std::uint8_t* data = buffer_.data();
    const Micros now = Now();
    // The simulator's own replies and junk are never requests, so skipping
    // them loses nothing but log lines.
    if (echoes_.TakeEcho(data, size, now)) {
      ++counters_.echoes;
      return;
    }
    ++counters_.received;
    if (options_.logDatagrams) DatagramEvent(from, data, size).Print();
    const std::string kind = DatagramKind(data, size);
    if (kind == "search") OnSearch(from, now);
    if (kind == "change") OnChange(data, size, from);
  }

  void OnSearch(const Sender& from, Micros now) {
    std::size_t planned = static_cast<std::size_t>(options_.noise);
    for (const SimDevice& device : devices_) {
      if (AnswersQuellan(device))
        planned += static_cast<std::size_t>(device.repeat);
    }
    if (schedule_.Pending() + planned > MAX_PENDING) {
      SearchDroppedEvent(from, schedule_.Pending()).Print();
      return;
    }
    const PlannedSearch plan =
        PlanSearch(devices_, options_.noise, window_, now, rng_, schedule_);
    ++counters_.searches;
    SearchEvent(from, plan, schedule_.Pending()).Print();
  }

  void OnChange(const std::uint8_t* data, std::size_t size,
                const Sender& from) {
    if (size < DATAGRAM_SIZE) {
      ChangeShortEvent(from, size).Print();
      return;
    }
    const std::uint8_t* body = data + HEADER_SIZE;
    const DeviceInfo info = ParseDeviceInfo(body);
    for (const auto& mac : options_.ignoreChanges) {
      if (mac == info.macAddress) {
        ChangeNotTakenEvent(ChangeNotTaken::Ignored, from, body).Print();
        return;
      }
    }
    const std::vector<AppliedChange> applied =
        ApplyChangeRequest(devices_, info, options_.addressCheck);
    if (applied.empty())
      ChangeNotTakenEvent(ChangeNotTaken::Unknown, from, body).Print();
    for (const AppliedChange& change : applied) {
      if (change.addressInUse) {
        ChangeAddressInUseEvent(from, change, body).Print();
        continue;
      }
      ++counters_.changes;
      ChangeEvent(from, change, body).Print();
    }
  }

  const Options options_;
  const std::uint64_t randomStart_;
  std::vector<SimDevice> devices_;
  Rng rng_;
  // The answers' own MessageIDs, drawn apart from the delays so that these
  // do not depend on how many answers were sent before.
  std::mt19937_64 messageIds_;
  PacedSchedule schedule_;
  EchoFilter echoes_;
  AnswerWindow window_;
  std::vector<std::uint8_t> buffer_;
  const std::chrono::steady_clock::time_point start_;
  net::Socket socket_ = net::NO_SOCKET;
  // socket_ itself, or the socket bound to the --source address.
  net::Socket sendSocket_ = net::NO_SOCKET;
  RunCounters counters_;
  // The WS-Discovery socket; NO_SOCKET when no device answers ONVIF.
  net::Socket onvifSocket_ = net::NO_SOCKET;
  OnvifSenders senders_{options_.interfaceName};
  // Probes with answers still to send, by the number PlanProbeMatches tags
  // them with.
  std::map<std::uint64_t, PendingProbe> probes_;
  std::uint64_t nextProbe_ = 0;
};

}  // namespace

int RunSimulator(const Options& options, std::uint64_t randomStart,
                 std::vector<SimDevice> devices) {
  Simulator simulator(options, randomStart, std::move(devices));
  return simulator.Run();
}

}  // namespace devsim
