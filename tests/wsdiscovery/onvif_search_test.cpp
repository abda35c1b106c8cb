// The ONVIF search on the private test links, against onvif_responder.py on
// the peer side of the first one: each probe it gets is answered with a
// cut-short datagram, a stray ProbeMatches and the device's own.
#include "core/wsdiscovery/onvif_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <thread>
#include <vector>

#include "core/wsdiscovery/namespaces.h"
#include "tests/support/peer.h"

namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t FIRST_LINK = 0x0A4D0001;  // 10.77.0.1, qa0
constexpr std::uint32_t RESPONDER = 0x0A4D0002;   // 10.77.0.2, qd0

std::uint32_t IndexOf(std::uint32_t address) {
  for (const net::Adapter& adapter : net::ListAdapters().adapters)
    if (adapter.address == address) return adapter.index;
  return 0;
}

TEST(OnvifSearch, KeepsOnlyTheAnswerToItsOwnProbes) {
  if (!OnIsolatedTestNetwork()) return;
  OnvifSearch search({});
  const OnvifSearchResult result = search.Run(900ms);

  EXPECT_EQ(result.status, OnvifSearchStatus::Done);
  // The device's own answer to each of the four probes it heard, every one
  // kept: the command line makes them one row.
  ASSERT_EQ(result.answers.size(), 4u);
  std::vector<XmlName> types;
  for (const OnvifAnswer& answer : result.answers) {
    EXPECT_EQ(answer.match.endpoint,
              "urn:uuid:5e1f0c2a-7b3d-4e8f-9a10-b2c3d4e5f607");
    EXPECT_EQ(answer.match.about.name, "Yard Cam");
    EXPECT_EQ(answer.source, RESPONDER);
    EXPECT_NE(answer.interfaceIndex, 0u);
    EXPECT_EQ(answer.interfaceIndex, IndexOf(FIRST_LINK));
    for (const XmlName& type : answer.match.types)
      if (std::find(types.begin(), types.end(), type) == types.end())
        types.push_back(type);
  }
  // Each type was probed: the responder names only the type it was asked.
  const std::vector<XmlName> probed = {
      {ONVIF_NETWORK_NAMESPACE, "NetworkVideoTransmitter"},
      {ONVIF_DEVICE_NAMESPACE, "Device"}};
  EXPECT_EQ(types, probed);

  // Two probes through each of the two links with an address, twice; the
  // responder hears the four on the first link and answers each thrice.
  const OnvifSearchCounts& counts = result.counts;
  EXPECT_EQ(counts.probesSent, 8u);
  EXPECT_EQ(counts.probesFailed, 0u);
  EXPECT_EQ(counts.received, 12u);
  EXPECT_EQ(
      counts.refused,
      (std::map<MatchesStatus, std::uint64_t>{{MatchesStatus::Malformed, 4}}));
  EXPECT_EQ(counts.unrelated, 4u);
  EXPECT_GT(counts.receiveBuffer, 0);
#ifdef _WIN32
  EXPECT_FALSE(counts.kernelDropped.has_value());
#else
  EXPECT_EQ(counts.kernelDropped, std::optional<std::uint32_t>(0));
#endif
}

TEST(OnvifSearch, ProbesOnlyThroughTheAdaptersGiven) {
  if (!OnIsolatedTestNetwork()) return;
  OnvifSearch search({{0x0A4E0001}});  // 10.78.0.1: nobody answers there
  const OnvifSearchResult result = search.Run(300ms);
  EXPECT_EQ(result.counts.probesSent, 4u);
  EXPECT_EQ(result.counts.received, 0u);
  EXPECT_TRUE(result.answers.empty());
}

TEST(OnvifSearch, StopEndsTheWindowEarly) {
  if (!OnIsolatedTestNetwork()) return;
  OnvifSearch search({});
  OnvifSearchResult result;
  std::thread worker([&] { result = search.Run(60s); });
  std::this_thread::sleep_for(100ms);
  search.Stop();
  worker.join();
  EXPECT_EQ(result.status, OnvifSearchStatus::Stopped);
  EXPECT_EQ(search.Run(60s).status, OnvifSearchStatus::Stopped);
}

// The seam's count of what a full receive buffer dropped, on loopback: a
// burst into a buffer of a few datagrams, then one more once it is empty,
// which carries the total.
TEST(NetSeam, CountsWhatAFullReceiveBufferDropped) {
  net::Startup();
  const net::Socket socket = net::OpenUdp();
  ASSERT_TRUE(net::Bind(socket, {0x7F000001, 0}));
  net::Endpoint self;
  ASSERT_TRUE(net::LocalEndpoint(socket, &self));
  ASSERT_TRUE(net::SetReceiveBuffer(socket, 4096));
  net::EnableNonBlocking(socket);
  if (!net::EnableDropCount(socket)) {
    net::Close(socket);
    net::Cleanup();
    GTEST_SKIP() << "the system keeps no drop count";
  }
  constexpr int BURST = 64;
  std::vector<std::uint8_t> datagram(1000, 0x5A);
  for (int i = 0; i < BURST; ++i)
    net::SendTo(socket, datagram.data(), datagram.size(), self);
  std::vector<std::uint8_t> buffer(2048);
  net::Arrival arrival;
  int read = 0;
  while (net::ReceiveWaiting(socket, buffer.data(), buffer.size(), &arrival) >=
         0)
    ++read;
  net::SendTo(socket, datagram.data(), datagram.size(), self);
  ASSERT_GE(net::ReceiveWaiting(socket, buffer.data(), buffer.size(), &arrival),
            0);
  net::Close(socket);
  net::Cleanup();
  EXPECT_GT(read, 0);
  EXPECT_LT(read, BURST);
  EXPECT_EQ(static_cast<int>(arrival.droppedBefore), BURST - read);
}

}  // namespace
