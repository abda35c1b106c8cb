// The hand-off between the receive thread and the search worker.
#include "core/devices/reply_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

PendingReply Numbered(std::uint32_t n) {
  PendingReply entry;
  entry.info.ipAddress = n;
  return entry;
}

TEST(ReplyQueue, EveryReplyArrivesOnceInOrderAcrossThreads) {
  ReplyQueue queue;
  constexpr std::uint32_t REPLIES = 20000;
  std::atomic<bool> done{false};
  std::thread receiver([&] {
    for (std::uint32_t n = 0; n < REPLIES; ++n) {
      while (!queue.Append(Numbered(n))) std::this_thread::yield();
    }
    done = true;
  });
  std::vector<std::uint32_t> taken;
  while (!done || queue.Size() > 0) {
    for (const PendingReply& entry : queue.TakeAll())
      taken.push_back(entry.info.ipAddress);
    std::this_thread::yield();
  }
  receiver.join();
  ASSERT_EQ(taken.size(), REPLIES);
  for (std::uint32_t n = 0; n < REPLIES; ++n) ASSERT_EQ(taken[n], n);
}

TEST(ReplyQueue, AFullQueueDropsUntilTheNextBatch) {
  ReplyQueue queue;
  for (std::size_t n = 0; n < ReplyQueue::CAPACITY; ++n)
    ASSERT_TRUE(queue.Append(Numbered(static_cast<std::uint32_t>(n))));
  EXPECT_FALSE(queue.Append(Numbered(0)));
  EXPECT_EQ(queue.TakeAll().size(), ReplyQueue::CAPACITY);
  EXPECT_TRUE(queue.Append(Numbered(1)));
  EXPECT_EQ(queue.Size(), 1u);
}

}  // namespace
