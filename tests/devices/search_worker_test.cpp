// The search worker's hand-offs, with a thread that plays the user-interface
// thread: batches are posted to it and it reports them sorted.
#include "core/devices/search_worker.h"

#include <gtest/gtest.h>

#include <deque>

#include "tests/support/ui_thread.h"

namespace {

using namespace std::chrono_literals;

PendingReply Numbered(std::uint32_t n) {
  PendingReply entry;
  entry.info.ipAddress = n;
  entry.info.macAddress[4] = static_cast<std::uint8_t>(n >> 8);
  entry.info.macAddress[5] = static_cast<std::uint8_t>(n);
  return entry;
}

struct Harness {
  ReplyQueue queue;
  std::atomic<bool> searching{true};
  UiThread ui;
  DeviceTable table;  // touched on the ui thread only
  std::atomic<int> batches{0};
  std::unique_ptr<SearchWorker> worker;

  Harness() {
    worker = std::make_unique<SearchWorker>(
        queue, searching, [this](std::vector<PendingReply> batch) {
          ui.Post([this, batch = std::move(batch)] {
            for (const PendingReply& entry : batch) table.Add(entry);
            ++batches;
            worker->BatchSorted();
          });
        });
  }
  std::size_t Rows() {
    std::size_t rows = 0;
    ui.Run([&] { rows = table.Size(); });
    return rows;
  }
};

TEST(SearchWorker, TakesEveryQueuedReplyInBatchesAndEndsAfterTheSearch) {
  Harness h;
  h.worker->Start();
  std::thread receiver([&] {
    for (std::uint32_t n = 1; n <= 3000; ++n) {
      h.queue.Append(Numbered(n));
      if (n % 100 == 0) std::this_thread::sleep_for(20ms);
    }
  });
  receiver.join();
  h.searching = false;  // the end of the search
  EXPECT_TRUE(h.worker->WaitDone(5s));
  EXPECT_EQ(h.Rows(), 3000u);
  EXPECT_GE(h.batches.load(), 2);
  EXPECT_EQ(h.queue.Size(), 0u);
}

TEST(SearchWorker, RepliesQueuedBeforeTheEndAreStillTakenIn) {
  Harness h;
  h.worker->Start();
  h.queue.Append(Numbered(7));
  h.searching = false;
  EXPECT_TRUE(h.worker->WaitDone(3s));
  EXPECT_EQ(h.Rows(), 1u);
}

TEST(SearchWorker, EndsWithoutABatchWhenNothingArrives) {
  Harness h;
  h.searching = false;
  h.worker->Start();
  EXPECT_TRUE(h.worker->WaitDone(1s));
  EXPECT_EQ(h.batches.load(), 0);
}

TEST(SearchWorker, AUserInterfaceThatNeverAnswersDoesNotBlockIt) {
  ReplyQueue queue;
  std::atomic<bool> searching{true};
  std::atomic<int> delivered{0};
  SearchWorker worker(queue, searching,
                      [&](std::vector<PendingReply>) { ++delivered; });
  worker.Start();
  queue.Append(Numbered(1));
  std::this_thread::sleep_for(600ms);
  queue.Append(Numbered(2));
  searching = false;
  EXPECT_TRUE(worker.WaitDone(5s));
  EXPECT_EQ(delivered.load(), 2);
}

TEST(SearchWorker, DestroyingItStopsTheThreadAtOnce) {
  ReplyQueue queue;
  std::atomic<bool> searching{true};
  const auto start = std::chrono::steady_clock::now();
  {
    SearchWorker worker(queue, searching, [](std::vector<PendingReply>) {});
    worker.Start();
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, 400ms);
}

}  // namespace
