// A storm of search requests from the peer must not make the engine's
// built-in responder an amplifier. At most MAX_PENDING answers wait at a
// time, each for a random 0 to 999 ms (half a second on average), so while
// the storm lasts about 2 * MAX_PENDING answers leave a second, and the last
// MAX_PENDING within a second after it: some 32 + 64 * seconds in all. The
// bound below allows twice that rate; unbounded, every one of the 20 000
// requests would be answered.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "core/engine/engine.h"
#include "core/protocol/responder.h"
#include "tests/faults/child_process.h"
#include "tests/support/peer.h"

namespace {

using namespace std::chrono_literals;

constexpr int STORM_SECONDS = 2;
constexpr std::size_t PENDING = TestReplySchedule::MAX_PENDING;
constexpr std::size_t MOST_ANSWERS = PENDING + 4 * PENDING * STORM_SECONDS;

bool IsEngineAnswer(const PeerDatagram& d) {
  return d.from == "10.77.0.1" && d.size == DATAGRAM_SIZE &&
         IsSearchReply(d.bytes.data());
}

TEST(RequestStorm, AnswersStayWithinThePendingBound) {
  ASSERT_TRUE(OnIsolatedTestNetwork());
  const std::size_t fromLine = PeerLines().size();
  ChildProcess flood(
      InPeerNamespace({FloodProgram(), "--requests", "10000", "--seconds",
                       std::to_string(STORM_SECONDS)}));
  ASSERT_TRUE(flood.Started());
  ASSERT_EQ(DiscoveryStart(nullptr), 1);
  const int floodStatus = flood.Wait(10s);
  // Every answer still waiting is due within a second.
  std::this_thread::sleep_for(1500ms);
  DiscoveryStop();
  std::this_thread::sleep_for(300ms);  // for the peer to log the last ones

  std::size_t answers = 0;
  for (const PeerDatagram& d : PeerDatagrams(fromLine))
    if (IsEngineAnswer(d)) ++answers;
  EXPECT_EQ(floodStatus, 0) << flood.Output();
  std::printf("flood: %sanswers heard by the peer: %zu (bound %zu)\n",
              flood.Output().c_str(), answers, MOST_ANSWERS);
  EXPECT_GE(answers, PENDING) << "the first requests are answered";
  EXPECT_LE(answers, MOST_ANSWERS);
}

}  // namespace
