#include "core/devices/search_worker.h"

#include <utility>

SearchWorker::SearchWorker(ReplyQueue& queue,
                           const std::atomic<bool>& searching, Deliver deliver)
    : queue_(queue), searching_(searching), deliver_(std::move(deliver)) {}

SearchWorker::~SearchWorker() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    quit_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void SearchWorker::Start() { thread_ = std::thread(&SearchWorker::Run, this); }

void SearchWorker::BatchSorted() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    batchSorted_ = true;
  }
  changed_.notify_all();
}

bool SearchWorker::WaitDone(std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> hold(lock_);
  return changed_.wait_for(hold, limit, [this] { return done_.load(); });
}

bool SearchWorker::Pause(std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> hold(lock_);
  return !changed_.wait_for(hold, limit, [this] { return quit_; });
}

void SearchWorker::Finish() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    done_ = true;
  }
  changed_.notify_all();
}

void SearchWorker::Run() {
  // After the search ends, one more look at the queue takes in the replies
  // that arrived before the engine stopped.
  std::size_t waiting = queue_.Size();
  while (searching_.load() || waiting > 0) {
    if (!Pause(PAUSE)) break;
    waiting = queue_.Size();
    if (waiting == 0) continue;
    {
      std::lock_guard<std::mutex> hold(lock_);
      batchSorted_ = false;
    }
    deliver_(queue_.TakeAll());
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait_for(hold, BATCH_WAIT,
                      [this] { return batchSorted_ || quit_; });
    if (quit_) break;
  }
  Finish();
}
