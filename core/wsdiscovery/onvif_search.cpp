#include "core/wsdiscovery/onvif_search.h"

#include <algorithm>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <utility>

#include "core/engine/local_adapters.h"
#include "core/wsdiscovery/probe_message.h"

namespace {

using Clock = std::chrono::steady_clock;

// The longest wait between two looks at the stop flag and the clock.
constexpr std::chrono::milliseconds WAIT_SLICE{50};
constexpr std::chrono::milliseconds FAILED_WAIT_PAUSE{5};
// A reply may be larger than one datagram's usual size, never than this.
constexpr std::size_t RECEIVE_CAPACITY = 64 * 1024;
// Datagrams read per wait at most, so that a long burst still lets the
// session see the time to probe again, the end and a stop.
constexpr int DRAIN_LIMIT = 256;

const ProbeType PROBE_TYPES[] = {ProbeType::NetworkVideoTransmitter,
                                 ProbeType::Device};

// The state of one Run.
struct Session {
  net::Socket socket = net::NO_SOCKET;
  std::vector<std::uint32_t> through;
  std::mt19937_64 random;
  // Every MessageID sent, sorted, to tell our answers from strays.
  std::vector<std::string> messageIds;
  OnvifSearchResult result;
};

std::mt19937_64 EntropyRandom() {
  // The clock joins the system's entropy: some C++ libraries for Windows
  // have given a fixed sequence from std::random_device.
  std::random_device device;
  const auto now =
      static_cast<std::uint64_t>(Clock::now().time_since_epoch().count());
  std::seed_seq seed{device(), device(), static_cast<unsigned>(now),
                     static_cast<unsigned>(now >> 32)};
  return std::mt19937_64(seed);
}

std::vector<std::uint32_t> AdaptersToProbe(const OnvifSearchOptions& options) {
  if (!options.through.empty()) return options.through;
  return AddressesOf(LocalAdapters());
}

// The socket on an ephemeral port: the devices answer to whatever port the
// probe came from.
net::Socket OpenSocket(OnvifSearchCounts* counts) {
  const net::Socket socket = net::OpenUdp();
  if (socket == net::NO_SOCKET) return socket;
  if (!net::Bind(socket, {0, 0})) {
    net::Close(socket);
    return net::NO_SOCKET;
  }
  net::SetReceiveBuffer(socket, ONVIF_RECEIVE_BUFFER);
  counts->receiveBuffer = net::ReceiveBufferSize(socket);
  net::EnableNonBlocking(socket);
  net::EnablePacketInfo(socket);
  if (net::EnableDropCount(socket)) counts->kernelDropped = 0;
  return socket;
}

// One probe of each type through each adapter, each with a MessageID of its
// own.
void SendRound(Session& session) {
  OnvifSearchCounts& counts = session.result.counts;
  const net::Endpoint group{WS_DISCOVERY_GROUP, WS_DISCOVERY_PORT};
  for (std::uint32_t address : session.through) {
    if (!net::SetMulticastInterface(session.socket, address)) {
      counts.probesFailed += std::size(PROBE_TYPES);
      continue;
    }
    for (ProbeType type : PROBE_TYPES) {
      std::string id = RandomMessageId(session.random);
      const std::string probe = ProbeMessage(type, id);
      const bool sent = net::SendTo(
          session.socket, reinterpret_cast<const std::uint8_t*>(probe.data()),
          probe.size(), group);
      if (sent)
        ++counts.probesSent;
      else
        ++counts.probesFailed;
      auto& ids = session.messageIds;
      ids.insert(std::upper_bound(ids.begin(), ids.end(), id), std::move(id));
    }
  }
}

// Every match is kept as it came, the repeats too: the command line's one
// de-duplication (cli/network/onvif_devices.h) knows what makes two answers
// one device.
void Keep(Session& session, ProbeMatch&& match, const net::Arrival& arrival) {
  session.result.answers.push_back(
      {std::move(match), arrival.from.address, arrival.interfaceIndex});
}

void Take(Session& session, const std::uint8_t* bytes, std::size_t size,
          const net::Arrival& arrival) {
  OnvifSearchCounts& counts = session.result.counts;
  ++counts.received;
  // The count is the socket's total so far: the latest is the largest.
  if (counts.kernelDropped)
    counts.kernelDropped =
        std::max(*counts.kernelDropped, arrival.droppedBefore);
  ProbeMatches read = ReadProbeMatches(bytes, size);
  if (read.status != MatchesStatus::Ok) {
    ++counts.refused[read.status];
    return;
  }
  if (!std::binary_search(session.messageIds.begin(), session.messageIds.end(),
                          read.relatesTo)) {
    ++counts.unrelated;
    return;
  }
  for (ProbeMatch& match : read.matches)
    Keep(session, std::move(match), arrival);
}

// Reads what has arrived, at most DRAIN_LIMIT datagrams.
void Drain(Session& session, std::vector<std::uint8_t>& buffer) {
  for (int taken = 0; taken < DRAIN_LIMIT; ++taken) {
    net::Arrival arrival;
    const int size = net::ReceiveWaiting(session.socket, buffer.data(),
                                         buffer.size(), &arrival);
    if (size == net::NOTHING_WAITING) return;
    if (size >= 0)
      Take(session, buffer.data(), static_cast<std::size_t>(size), arrival);
  }
}

}  // namespace

OnvifSearch::OnvifSearch(OnvifSearchOptions options)
    : options_(std::move(options)) {}

void OnvifSearch::Stop() { stopped_ = true; }

OnvifSearchResult OnvifSearch::Run(std::chrono::milliseconds window) {
  Session session;
  if (stopped_) {
    session.result.status = OnvifSearchStatus::Stopped;
    return session.result;
  }
  net::Startup();
  session.socket = OpenSocket(&session.result.counts);
  if (session.socket == net::NO_SOCKET) {
    net::Cleanup();
    session.result.status = OnvifSearchStatus::NoSocket;
    return session.result;
  }
  session.through = AdaptersToProbe(options_);
  session.random = EntropyRandom();

  std::vector<std::uint8_t> buffer(RECEIVE_CAPACITY);
  const Clock::time_point start = Clock::now();
  const Clock::time_point end = start + window;
  // Devices miss probes: the second round comes late enough for the first
  // answers to be in, early enough for their own delay to fit the window.
  const Clock::time_point repeat = start + window / 3;
  bool secondRoundSent = false;
  SendRound(session);
  for (;;) {
    if (stopped_) {
      session.result.status = OnvifSearchStatus::Stopped;
      break;
    }
    const Clock::time_point now = Clock::now();
    if (now >= end) break;
    if (!secondRoundSent && now >= repeat) {
      SendRound(session);
      secondRoundSent = true;
    }
    const Clock::time_point next =
        secondRoundSent ? end : std::min(repeat, end);
    const auto wait = std::min(
        WAIT_SLICE, std::chrono::ceil<std::chrono::milliseconds>(next - now));
    switch (net::WaitReadable(session.socket, net::NO_SOCKET,
                              static_cast<int>(wait.count()))) {
      case net::WaitResult::Readable:
        Drain(session, buffer);
        break;
      case net::WaitResult::Failed:
        std::this_thread::sleep_for(FAILED_WAIT_PAUSE);
        break;
      case net::WaitResult::Woken:
      case net::WaitResult::TimedOut:
        break;
    }
  }
  net::Close(session.socket);
  net::Cleanup();
  return std::move(session.result);
}
