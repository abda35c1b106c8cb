// The discovery engine over the private veth link, with the simulated peer on
// the other side recording what crossed it.
#include "core/engine/engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "core/engine/notify.h"
#include "core/engine/port_conflict.h"
#include "tests/support/hex.h"
#include "tests/support/peer.h"
#include "tests/support/port_holder.h"

namespace {

using namespace std::chrono_literals;

struct Heard {
  std::vector<std::uint8_t> buffer;
  net::Endpoint sender;
  std::int32_t senderLength;
  std::uint32_t ingressIndex;
};

// The callback carries no context, so what it hears goes to one place.
std::mutex heardLock;
std::vector<Heard> heard;
std::atomic<bool> engineStopped{false};
std::atomic<int> callbacksAfterStop{0};

std::int32_t Record(const std::uint8_t* buffer, std::int32_t senderLength,
                    const net::Endpoint& sender, std::uint32_t ingressIndex) {
  if (engineStopped.load()) ++callbacksAfterStop;
  std::lock_guard<std::mutex> hold(heardLock);
  heard.push_back({{buffer, buffer + RECEIVE_BUFFER_SIZE},
                   sender,
                   senderLength,
                   ingressIndex});
  return 0;
}

std::vector<Heard> HeardSoFar() {
  std::lock_guard<std::mutex> hold(heardLock);
  return heard;
}

std::vector<std::wstring> notices;
void CollectNotice(const std::wstring& text, const std::wstring& caption,
                   void*) {
  notices.push_back(caption + L": " + text);
}

// A plain socket that plays another program on this host.
class LocalSender {
 public:
  // Holds its own Winsock reference: the engine's stop ends the engine's, and
  // the last one closes every socket of the process, this one included.
  LocalSender() : started_(net::Startup()), socket_(net::OpenUdp()) {
    net::EnableBroadcast(socket_);
  }
  ~LocalSender() {
    net::Close(socket_);
    if (started_) net::Cleanup();
  }
  void SendToEngine(const std::vector<std::uint8_t>& datagram) {
    // Only the listening socket is bound to the wildcard address, so the
    // loopback address reaches it and no adapter socket.
    net::SendTo(socket_, datagram.data(), datagram.size(),
                {LOOPBACK_ADDRESS, DISCOVERY_PORT});
  }

 private:
  bool started_;
  net::Socket socket_;
};

bool IsTestReplyDatagram(const PeerDatagram& d) {
  return d.size == DATAGRAM_SIZE && IsSearchReply(d.bytes.data());
}

std::size_t CountHeard(const std::function<bool(const Heard&)>& match) {
  const auto all = HeardSoFar();
  return static_cast<std::size_t>(std::count_if(all.begin(), all.end(), match));
}

class EngineTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OnIsolatedTestNetwork());
    {
      std::lock_guard<std::mutex> hold(heardLock);
      heard.clear();
    }
    notices.clear();
    engineStopped = false;
    callbacksAfterStop = 0;
    previousNotifier_ = SetUserNotifier(CollectNotice);
    // The peer runs for the whole program: each test reads its own lines.
    peerFromLine_ = PeerLines().size();
  }
  void TearDown() override {
    DiscoveryStop();
    SetUserNotifier(previousNotifier_);
  }

  std::size_t PeerCount(const std::function<bool(const PeerDatagram&)>& m) {
    const auto all = Seen();
    return static_cast<std::size_t>(std::count_if(all.begin(), all.end(), m));
  }
  std::vector<PeerDatagram> Seen() const {
    return PeerDatagrams(peerFromLine_);
  }

 private:
  UserNotifier previousNotifier_ = nullptr;
  std::size_t peerFromLine_ = 0;
};

TEST_F(EngineTest, StartTwiceGivesOneThenZero) {
  EXPECT_EQ(DiscoveryStart(Record), 1);
  EXPECT_EQ(DiscoveryStart(Record), 0);
  EXPECT_TRUE(DiscoveryRunning());
  DiscoveryStop();
  EXPECT_FALSE(DiscoveryRunning());
  EXPECT_EQ(DiscoveryStart(Record), 1);
  EXPECT_TRUE(notices.empty());
}

TEST_F(EngineTest, SendWhileStoppedSendsNothing) {
  EXPECT_EQ(DiscoverySend(CMD_SEARCH, nullptr), 0);
  ASSERT_EQ(DiscoveryStart(nullptr), 1);
  DiscoveryStop();
  EXPECT_EQ(DiscoverySend(CMD_SEARCH, nullptr), 0);

  // A marked change request sent by a running engine shows that the link
  // works and that nothing went before it.
  DeviceInfo marker;
  marker.macAddress = {0x02, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE};
  ASSERT_EQ(DiscoveryStart(nullptr), 1);
  DiscoverySend(CMD_CHANGE_IP, &marker);
  ASSERT_TRUE(WaitFor([&] { return !Seen().empty(); }, 5s));
  std::this_thread::sleep_for(200ms);
  for (const PeerDatagram& d : Seen()) {
    ASSERT_EQ(d.size, DATAGRAM_SIZE);
    EXPECT_EQ(ReadU32(d.bytes.data() + 4), CMD_CHANGE_IP);
    EXPECT_EQ(d.bytes[25], 0xAA);
  }
}

// A message box runs a message loop, and what runs in it may use the engine:
// a failed start tells the user only once it has let go of its lock. Were
// it still held, this test would hang until its time-out (TSan reports the
// second lock at once).
TEST_F(EngineTest, AFailedStartTellsTheUserWithoutHoldingTheEngine) {
  static std::atomic<int> toldWhileRunning{-1};
  const UserNotifier previous =
      SetUserNotifier([](const std::wstring&, const std::wstring&, void*) {
        toldWhileRunning = DiscoveryRunning() ? 1 : 0;
      });
  EXPECT_EQ(DiscoveryStart(nullptr, AdapterChoice{{0x0A630001u}}), 0);
  SetUserNotifier(previous);
  EXPECT_EQ(toldWhileRunning.load(), 0) << "the user was told, unlocked";
}

TEST_F(EngineTest, SearchRequestLeavesOncePerAdapterWithAnAddress) {
  // The app side has 10.77.0.1, 10.78.0.1 and one adapter without address.
  ASSERT_EQ(DiscoveryStart(nullptr), 1);
  EXPECT_EQ(DiscoverySend(CMD_SEARCH, nullptr), 2) << "one send per adapter";
  auto isRequest = [](const PeerDatagram& d) {
    return d.size == HEADER_SIZE && IsSearchRequest(d.bytes.data());
  };
  ASSERT_TRUE(WaitFor([&] { return PeerCount(isRequest) >= 2; }, 5s));
  std::this_thread::sleep_for(300ms);

  std::vector<std::string> sources;
  for (const PeerDatagram& d : Seen()) {
    if (!isRequest(d)) continue;
    EXPECT_EQ(ToHex(d.bytes.data(), d.bytes.size()),
              "34 52 34 87 01 05 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
              "00 00 00");
    EXPECT_EQ(d.port, DISCOVERY_PORT);
    sources.push_back(d.from);
  }
  std::sort(sources.begin(), sources.end());
  EXPECT_EQ(sources, (std::vector<std::string>{"10.77.0.1", "10.78.0.1"}));
}

TEST_F(EngineTest, ResponderAnswersASearchRequestOnceWithTheTestReply) {
  ASSERT_EQ(DiscoveryStart(Record), 1);
  LocalSender other;
  const auto request = FromHex(
      "34 52 34 87 01 05 00 00 01 00 00 00 02 00 00 00 03 00 00 00 00 00 00 "
      "00");
  const auto asked = std::chrono::steady_clock::now();
  other.SendToEngine(request);

  ASSERT_TRUE(WaitFor([&] { return PeerCount(IsTestReplyDatagram) >= 1; }, 3s));
  const auto answered = std::chrono::steady_clock::now();
  EXPECT_LT(answered - asked, 2s) << "the reply is due within 999 ms";
  std::this_thread::sleep_for(1200ms);

  ASSERT_EQ(PeerCount(IsTestReplyDatagram), 1u);
  std::vector<std::uint8_t> padded(request);
  padded.resize(RECEIVE_BUFFER_SIZE);
  const auto expected = EncodeTestReply(padded.data());
  for (const PeerDatagram& d : Seen()) {
    if (!IsTestReplyDatagram(d)) continue;
    EXPECT_EQ(d.bytes,
              std::vector<std::uint8_t>(expected.begin(), expected.end()));
    EXPECT_EQ(d.port, DISCOVERY_PORT);
  }
  // The request reached the callback first, then the reply came back to it.
  EXPECT_EQ(CountHeard([](const Heard& h) {
              return IsSearchRequest(h.buffer.data());
            }),
            1u);
  EXPECT_EQ(
      CountHeard([](const Heard& h) { return IsSearchReply(h.buffer.data()); }),
      1u);
}

TEST_F(EngineTest, ResponderIgnoresEverythingButSearchRequests) {
  ASSERT_EQ(DiscoveryStart(Record), 1);
  LocalSender other;
  DeviceInfo body;
  other.SendToEngine(EncodeRequest(CMD_CHANGE_IP, &body));
  const auto reply = EncodeTestReply(EncodeRequest(CMD_SEARCH, nullptr).data());
  other.SendToEngine({reply.begin(), reply.end()});
  other.SendToEngine(FromHex("34 52 34 87 03 05 00 00"));
  ASSERT_TRUE(WaitFor([] { return HeardSoFar().size() >= 3; }, 3s));
  std::this_thread::sleep_for(1200ms);
  EXPECT_EQ(HeardSoFar().size(), 3u);
  EXPECT_EQ(PeerCount(IsTestReplyDatagram), 0u);
}

TEST_F(EngineTest, OversizedDatagramsNeverReachTheCallback) {
  ASSERT_EQ(DiscoveryStart(Record), 1);
  LocalSender other;
  other.SendToEngine(std::vector<std::uint8_t>(300, 0x5A));
  other.SendToEngine(std::vector<std::uint8_t>(257, 0x5B));
  other.SendToEngine(std::vector<std::uint8_t>(256, 0x5C));
  other.SendToEngine(FromHex("01 02 03 04 05 06 07 08 09 0a"));
  ASSERT_TRUE(WaitFor([] { return HeardSoFar().size() >= 2; }, 3s));
  std::this_thread::sleep_for(200ms);

  const auto all = HeardSoFar();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].buffer, std::vector<std::uint8_t>(256, 0x5C));
  std::vector<std::uint8_t> ten(RECEIVE_BUFFER_SIZE, 0);
  for (int i = 0; i < 10; ++i) ten[i] = static_cast<std::uint8_t>(i + 1);
  EXPECT_EQ(all[1].buffer, ten) << "a short datagram arrives zero-filled";
  EXPECT_EQ(all[1].senderLength, 16);
  EXPECT_EQ(all[1].sender.address, LOOPBACK_ADDRESS);
}

TEST_F(EngineTest, StopWhileTheThreadWaitsReturnsWithin100Ms) {
  for (int round = 0; round < 5; ++round) {
    ASSERT_EQ(DiscoveryStart(Record), 1);
    std::this_thread::sleep_for(150ms);
    const auto asked = std::chrono::steady_clock::now();
    DiscoveryStop();
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 100ms);
    EXPECT_FALSE(DiscoveryRunning());
  }
}

TEST_F(EngineTest, NoCallbackRunsAfterStop) {
  std::atomic<bool> flooding{true};
  std::thread flood([&] {
    LocalSender other;
    const auto request = EncodeRequest(CMD_SEARCH, nullptr);
    while (flooding) {
      other.SendToEngine(request);
      std::this_thread::sleep_for(1ms);
    }
  });
  for (int round = 0; round < 20; ++round) {
    engineStopped = false;
    const std::size_t before = HeardSoFar().size();
    ASSERT_EQ(DiscoveryStart(Record), 1);
    // Stop only once the thread is busy handing datagrams on, however long
    // the start took on a loaded machine.
    EXPECT_TRUE(WaitFor([&] { return HeardSoFar().size() > before; }, 5s));
    DiscoveryStop();
    engineStopped = true;
    std::this_thread::sleep_for(5ms);
  }
  flooding = false;
  flood.join();
  EXPECT_EQ(callbacksAfterStop.load(), 0);
}

constexpr std::uint32_t Ip(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                           std::uint32_t d) {
  return a << 24 | b << 16 | c << 8 | d;
}

// Runs with one simulator per link on the peer side, each bound to its own
// interface: qd0, qd1 and the extra domain qd3. Each hears only the request
// of its own link and answers through it, so a reply from a simulator must
// carry the index of the adapter on the same link.
TEST(Ingress, EachReplyCarriesTheIndexOfTheAdapterItArrivedOn) {
  ASSERT_TRUE(OnIsolatedTestNetwork());
  const struct {
    std::uint32_t peer;
    std::uint32_t adapter;
  } LINKS[] = {
      {Ip(10, 77, 0, 2), Ip(10, 77, 0, 1)},
      {Ip(10, 78, 0, 2), Ip(10, 78, 0, 1)},
      {Ip(10, 100, 3, 2), Ip(10, 100, 3, 1)},
  };
  const net::AdapterList adapters = net::ListAdapters();
  std::map<std::uint32_t, std::uint32_t> indexOfPeer;
  for (const auto& link : LINKS) {
    const auto at = std::find_if(
        adapters.adapters.begin(), adapters.adapters.end(),
        [&link](const net::Adapter& a) { return a.address == link.adapter; });
    ASSERT_NE(at, adapters.adapters.end()) << std::hex << link.adapter;
    const std::uint32_t index = at->index;
    ASSERT_NE(index, 0u);
    indexOfPeer[link.peer] = index;
  }
  const std::size_t peerFrom = PeerLines().size();
  {
    std::lock_guard<std::mutex> hold(heardLock);
    heard.clear();
  }

  ASSERT_EQ(DiscoveryStart(Record), 1);
  EXPECT_EQ(DiscoverySend(CMD_SEARCH, nullptr), 3);
  auto fromPeer = [&](const Heard& h) {
    return IsSearchReply(h.buffer.data()) &&
           indexOfPeer.count(h.sender.address) == 1;
  };
  ASSERT_TRUE(WaitFor([&] { return CountHeard(fromPeer) >= 3; }, 5s));
  std::this_thread::sleep_for(300ms);
  DiscoveryStop();

  std::map<std::uint32_t, int> repliesOfPeer;
  for (const Heard& h : HeardSoFar()) {
    if (!fromPeer(h)) continue;
    ++repliesOfPeer[h.sender.address];
    EXPECT_EQ(h.ingressIndex, indexOfPeer[h.sender.address])
        << "reply from " << std::hex << h.sender.address;
  }
  for (const auto& link : LINKS)
    EXPECT_EQ(repliesOfPeer[link.peer], 1) << std::hex << link.peer;
  // Each simulator heard the one request of its own link.
  std::multiset<std::string> searchedFrom;
  const std::vector<std::string> lines = PeerLines();
  for (std::size_t i = peerFrom; i < lines.size(); ++i)
    if (JsonField(lines[i], "event") == "search")
      searchedFrom.insert(JsonField(lines[i], "from"));
  EXPECT_EQ(searchedFrom, (std::multiset<std::string>{"10.100.3.1", "10.77.0.1",
                                                      "10.78.0.1"}));
}

// Runs with another process holding port 64988 without address reuse.
TEST(PortTaken, StartFailsWithThePortReportAndLeavesNoThread) {
  ASSERT_TRUE(OnIsolatedTestNetwork());
  notices.clear();
  const UserNotifier previous = SetUserNotifier(CollectNotice);
  EXPECT_EQ(DiscoveryStart(Record), 0);
  EXPECT_FALSE(DiscoveryRunning());
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0],
            L"Quellan: " + PortConflictMessage(ExpectedPortHolderDetail()));
  EXPECT_EQ(DiscoverySend(CMD_SEARCH, nullptr), 0);
  DiscoveryStop();
  SetUserNotifier(previous);
}

}  // namespace
