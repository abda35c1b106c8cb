// One search for ONVIF devices on the wire: WS-Discovery Probes multicast
// through each adapter, and the ProbeMatches that answer them, each with the
// adapter it came in on. Runs on its own socket, so it can share a window
// with the search of our own protocol on another thread.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "core/engine/net.h"
#include "core/wsdiscovery/probe_matches.h"

// Where the probes go: the group and port of WS-Discovery.
constexpr std::uint32_t WS_DISCOVERY_GROUP = 0xEFFFFFFAu;  // 239.255.255.250
constexpr std::uint16_t WS_DISCOVERY_PORT = 3702;

// Thousands of devices answer within the same half second, each with about
// 2 KB (and the system counts each datagram at about twice its size): the
// replies must wait in the socket while the session reads.
constexpr int ONVIF_RECEIVE_BUFFER = 16 << 20;

struct OnvifSearchOptions {
  // The local addresses of the adapters to probe through; empty: every local
  // adapter that has an address.
  std::vector<std::uint32_t> through;
};

// One device's answer, as it came.
struct OnvifAnswer {
  ProbeMatch match;
  // The datagram's source address: a device may answer from another address
  // than those it lists in its XAddrs.
  std::uint32_t source = 0;
  // The interface the answer came in on (net::Adapter::index); 0 when
  // the system did not say.
  std::uint32_t interfaceIndex = 0;
};

enum class OnvifSearchStatus {
  Done,      // the whole window was listened to
  Stopped,   // Stop() ended it early; what came before is kept
  NoSocket,  // the socket could not be opened or bound: nothing was sent
};

struct OnvifSearchCounts {
  std::uint64_t probesSent = 0;
  std::uint64_t probesFailed = 0;  // the send or the choice of adapter failed
  std::uint64_t received = 0;      // datagrams read from the socket
  // Datagrams that ReadProbeMatches did not give MatchesStatus::Ok, by the
  // status it gave them.
  std::map<MatchesStatus, std::uint64_t> refused;
  // ProbeMatches that answered no probe of this search.
  std::uint64_t unrelated = 0;
  // Datagrams the system dropped for want of room in the receive buffer, up
  // to the last one read; nothing where the system does not tell.
  std::optional<std::uint32_t> kernelDropped;
  // The receive buffer the system granted, as it reports it; 0: unknown.
  int receiveBuffer = 0;
};

struct OnvifSearchResult {
  OnvifSearchStatus status = OnvifSearchStatus::Done;
  // Every match of every answer to our probes, in order of arrival: a
  // device answers each probe, on each adapter that hears it.
  std::vector<OnvifAnswer> answers;
  OnvifSearchCounts counts;
};

class OnvifSearch {
 public:
  explicit OnvifSearch(OnvifSearchOptions options);

  // Probes at the start and once more a third of the way into `window`,
  // and listens until it ends. Blocks; meant for a worker thread.
  OnvifSearchResult Run(std::chrono::milliseconds window);

  // Ends Run within a few tens of milliseconds; from any thread. A search
  // that was stopped stays stopped: a later Run returns at once.
  void Stop();

 private:
  OnvifSearchOptions options_;
  std::atomic<bool> stopped_{false};
};
