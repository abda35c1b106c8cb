// The engine and the search cycle when the adapters and the port misbehave:
// a link that goes away during a search, an adapter without an address, more
// adapters than the original table of ten sockets held, and the port taken by
// another socket between two searches.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <set>
#include <thread>

#include "core/engine/engine.h"
#include "core/engine/notify.h"
#include "core/engine/port_conflict.h"
#include "tests/faults/test_links.h"
#include "tests/support/peer.h"
#include "tests/support/session_driver.h"

namespace {

using namespace std::chrono_literals;

std::vector<std::wstring> notices;
void CollectNotice(const std::wstring& text, const std::wstring& caption,
                   void*) {
  notices.push_back(caption + L": " + text);
}

bool IsSearchRequestDatagram(const PeerDatagram& d) {
  return d.size == HEADER_SIZE && IsSearchRequest(d.bytes.data());
}

// The sources of the search requests the peer heard from line `fromLine` on.
std::set<std::string> RequestSources(std::size_t fromLine) {
  std::set<std::string> sources;
  for (const PeerDatagram& d : PeerDatagrams(fromLine))
    if (IsSearchRequestDatagram(d)) sources.insert(d.from);
  return sources;
}

// One engine run with one search request; true when the peer heard it from
// every adapter with an address.
bool SearchReachesThePeer() {
  const std::size_t fromLine = PeerLines().size();
  if (DiscoveryStart(nullptr) != 1) return false;
  DiscoverySend(CMD_SEARCH, nullptr);
  const std::set<std::string> both{"10.77.0.1", "10.78.0.1"};
  const bool heard =
      WaitFor([&] { return RequestSources(fromLine) == both; }, 5s);
  DiscoveryStop();
  return heard;
}

std::wstring OwnExecutable() {
  char path[4096];
  const ssize_t size = readlink("/proc/self/exe", path, sizeof path - 1);
  return size > 0 ? std::wstring(path, path + size) : std::wstring();
}

class NetworkFault : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OnIsolatedTestNetwork());
    notices.clear();
    previousNotifier_ = SetUserNotifier(CollectNotice);
  }
  void TearDown() override {
    DiscoveryStop();
    SetUserNotifier(previousNotifier_);
  }

 private:
  UserNotifier previousNotifier_ = nullptr;
};

TEST_F(NetworkFault, LinkGoneDuringASearch) {
  {
    SessionDriver search;
    ASSERT_EQ(search.Start(), SearchStart::Started);
    std::this_thread::sleep_for(500ms);
    LinkDown gone("qa0");
    ASSERT_TRUE(gone.Done());
    // The system takes a request for a link that is down and drops it
    // quietly: the send cannot tell, and nothing breaks.
    EXPECT_EQ(DiscoverySend(CMD_SEARCH, nullptr), 2);
    std::this_thread::sleep_for(1s);
    search.End(10s);
    EXPECT_FALSE(DiscoveryRunning());
  }
  // Mended, the link carries searches again.
  EXPECT_TRUE(SearchReachesThePeer());
  EXPECT_TRUE(notices.empty());
}

TEST_F(NetworkFault, AnAdapterWithoutAnAddressDoesNotStopTheStart) {
  // qa2 has no address; the two others carry the request.
  EXPECT_TRUE(SearchReachesThePeer());
  EXPECT_TRUE(notices.empty());
}

TEST_F(NetworkFault, TwelveAdaptersAreAllUsed) {
  ExtraAdapters extra(10);
  ASSERT_TRUE(extra.Done());
  std::vector<std::uint64_t> before;
  for (const std::string& name : extra.Names())
    before.push_back(ExtraAdapters::SentThrough(name));

  EXPECT_TRUE(SearchReachesThePeer());
  for (std::size_t i = 0; i < extra.Names().size(); ++i)
    EXPECT_GT(ExtraAdapters::SentThrough(extra.Names()[i]), before[i])
        << "no request left through " << extra.Names()[i];
  EXPECT_TRUE(notices.empty());
}

TEST_F(NetworkFault, PortTakenBetweenTwoSearches) {
  EXPECT_TRUE(SearchReachesThePeer());

  const net::Socket holder = net::OpenUdp();
  ASSERT_NE(holder, net::NO_SOCKET);
  // No address reuse: nobody else can bind the port while this holds it.
  ASSERT_TRUE(net::Bind(holder, {0, DISCOVERY_PORT}));
  EXPECT_EQ(DiscoveryStart(nullptr), 0);
  EXPECT_FALSE(DiscoveryRunning());
  net::Close(holder);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0], L"Quellan: " + PortConflictMessage(OwnerDetail(
                                           getpid(), OwnExecutable())));

  EXPECT_TRUE(SearchReachesThePeer());
  EXPECT_EQ(notices.size(), 1u);
}

}  // namespace
