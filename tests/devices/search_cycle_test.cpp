// A whole search without windows: the real engine hears the simulated devices
// across the test link, the receive thread queues the replies, the search
// worker posts batches to a stand-in user-interface thread that makes and
// sorts the rows, and the search ends at the third one-second tick. Run under
// ThreadSanitizer too.
#include <gtest/gtest.h>

#include <atomic>

#include "devices/device_table.h"
#include "devices/row_sort.h"
#include "devices/search_worker.h"
#include "discovery/engine.h"
#include "tests/devices/ui_thread.h"
#include "tests/support/peer.h"

namespace {

using namespace std::chrono_literals;

constexpr std::size_t kSimulatedDevices = 500;

// The engine's callback has no context: it reaches the queue through this.
ReplyQueue* activeQueue = nullptr;

std::int32_t OnDiscoveryDatagram(const std::uint8_t* buffer, std::int32_t,
                                 const net::Endpoint&) {
  PendingReply entry;
  if (MakePendingReply(buffer, &entry)) activeQueue->Append(std::move(entry));
  return 0;
}

class HeadlessSearch {
 public:
  HeadlessSearch()
      : worker_(queue_, searching_, [this](std::vector<PendingReply> batch) {
          ui_.Post([this, batch = std::move(batch)] { TakeIn(batch); });
        }) {
    activeQueue = &queue_;
  }

  // Returns the number of rows once the search has ended.
  std::size_t Run() {
    bool started = false;
    ui_.Run([&] {
      table_.ArmCollisionCheck();
      searching_ = true;
      started = DiscoveryStart(OnDiscoveryDatagram) == 1;
      if (!started) return;
      table_.Clear();
      DiscoverySend(CMD_SEARCH, nullptr);
      worker_.Start();
    });
    if (!started) return 0;
    std::this_thread::sleep_for(3s);  // the third tick
    ui_.Run([&] {
      DiscoveryStop();
      searching_ = false;
      Sort();
      worker_.WaitDone(200ms);
    });
    worker_.WaitDone(5s);
    std::size_t rows = 0;
    ui_.Run([&] { rows = table_.Size(); });
    return rows;
  }

  std::vector<std::wstring> IpTexts() {
    std::vector<std::wstring> texts;
    ui_.Run([&] {
      for (std::size_t i = 0; i < table_.Size(); ++i)
        texts.push_back(table_.Row(i).texts[COLUMN_IP]);
    });
    return texts;
  }
  int Batches() const { return batches_; }

 private:
  void TakeIn(const std::vector<PendingReply>& batch) {
    for (const PendingReply& entry : batch) table_.Add(entry);
    ++batches_;
    Sort();
    worker_.BatchSorted();
  }
  void Sort() {
    SortRows(table_.MutableRows(), COLUMN_IP, -1, DEVICE_COLUMNS, true, true,
             PlatformTextCompare());
  }

  ReplyQueue queue_;
  std::atomic<bool> searching_{false};
  DeviceTable table_;
  std::atomic<int> batches_{0};
  SearchWorker worker_;
  UiThread ui_;  // last: it ends first, before what its work touches
};

TEST(HeadlessSearch, FindsEverySimulatedDeviceSortedByIpText) {
  ASSERT_TRUE(OnIsolatedTestNetwork());
  HeadlessSearch search;
  EXPECT_EQ(search.Run(), kSimulatedDevices);
  const auto texts = search.IpTexts();
  EXPECT_TRUE(std::is_sorted(texts.begin(), texts.end()));
  EXPECT_GE(search.Batches(), 1);
}

}  // namespace
