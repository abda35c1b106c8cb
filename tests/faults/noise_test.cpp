// A search while the peer floods the discovery port with junk for its whole
// length and, after the first second, with replies from a hundred thousand
// forged devices, beside 200 simulated ones that answer in that first second.
// A table with a row cap cannot tell a real device from a forged one, so the
// real ones must come first to be sure of a row. A receive loop slowed by a
// sanitizer leaves most of the junk to be dropped by the kernel, so each
// device answers each of the two requests (one per adapter) sixteen times:
// one of its answers gets through.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>

#include "core/devices/reply_queue.h"
#include "core/engine/engine.h"
#include "tests/faults/child_process.h"
#include "tests/support/peer.h"
#include "tests/support/session_driver.h"

namespace {

using namespace std::chrono_literals;

constexpr std::size_t SIMULATED_DEVICES = 200;
constexpr std::uint32_t SIMULATED_NETWORK = 0x0A5D00u;  // 10.93.0.0/24

long PeakResidentKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

TEST(Noise, EveryRealDeviceIsFoundAndTheCapsHold) {
  ASSERT_TRUE(OnIsolatedTestNetwork());
  ChildProcess flood(
      InPeerNamespace({FloodProgram(), "--junk", "50000", "--replies", "100000",
                       "--reply-rate", "60000", "--replies-after", "1",
                       "--seconds", "2.8", "--random-start", "7"}));
  ASSERT_TRUE(flood.Started());
  SessionDriver search;
  ASSERT_EQ(search.Start(), SearchStart::Started);
  std::this_thread::sleep_for(3s);  // the third tick
  search.End(10s);
  EXPECT_FALSE(DiscoveryRunning());
  ASSERT_EQ(flood.Wait(10s), 0) << flood.Output();

  const std::vector<DeviceRow> rows = search.Rows();
  std::set<std::wstring> real;
  for (const DeviceRow& row : rows)
    if (row.record.ipAddress >> 8 == SIMULATED_NETWORK)
      real.insert(row.texts[COLUMN_MAC]);
  EXPECT_EQ(real.size(), SIMULATED_DEVICES);
  EXPECT_LE(rows.size(), DeviceTable::WINDOW_ROW_CAP);
  EXPECT_GT(rows.size(), SIMULATED_DEVICES) << "the forged replies got through";

  const long peak = PeakResidentKilobytes();
  std::printf(
      "flood: %s"
      "rows %zu, peak resident %ld KiB\n",
      flood.Output().c_str(), rows.size(), peak);
  testing::Test::RecordProperty("peak_rss_kib", std::to_string(peak));
}

}  // namespace
