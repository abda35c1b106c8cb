// The search worker: every half second it takes the queued replies out of the
// reply queue and hands them, as one batch, to the user-interface thread,
// which makes the rows and sorts them. It never touches the list itself and
// never blocks on the user-interface thread: the batch is posted, and the
// worker waits at most a short while for word that it has been sorted, so a
// user-interface thread that is busy (or waiting for the worker) cannot
// deadlock with it.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "core/devices/reply_queue.h"

class SearchWorker {
 public:
  static constexpr std::chrono::milliseconds PAUSE{500};
  static constexpr std::chrono::milliseconds BATCH_WAIT{200};

  // `deliver` runs on the worker thread and must only post the batch to the
  // user-interface thread; that thread calls BatchSorted() when done.
  using Deliver = std::function<void(std::vector<PendingReply> batch)>;

  SearchWorker(ReplyQueue& queue, const std::atomic<bool>& searching,
               Deliver deliver);
  // Stops the thread at once if it still runs.
  ~SearchWorker();
  SearchWorker(const SearchWorker&) = delete;
  SearchWorker& operator=(const SearchWorker&) = delete;

  void Start();
  // Called on the user-interface thread after a delivered batch is sorted.
  void BatchSorted();
  // Waits until the worker has ended on its own, at most `limit`.
  bool WaitDone(std::chrono::milliseconds limit);
  bool Running() const { return thread_.joinable() && !done_.load(); }

 private:
  void Run();
  // Sleeps `limit` unless told to quit; false when told to quit.
  bool Pause(std::chrono::milliseconds limit);
  void Finish();

  ReplyQueue& queue_;
  const std::atomic<bool>& searching_;
  Deliver deliver_;
  std::thread thread_;
  std::mutex lock_;
  std::condition_variable changed_;
  bool quit_ = false;
  bool batchSorted_ = false;
  std::atomic<bool> done_{false};
};
