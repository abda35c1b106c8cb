#include "core/devices/reply_queue.h"

#include <utility>

bool ReplyQueue::Append(PendingReply entry) {
  std::lock_guard<std::mutex> hold(queueLock_);
  if (replyQueue_.size() >= CAPACITY) return false;
  replyQueue_.push_back(std::move(entry));
  return true;
}

std::vector<PendingReply> ReplyQueue::TakeAll() {
  std::vector<PendingReply> batch;
  std::lock_guard<std::mutex> hold(queueLock_);
  batch.swap(replyQueue_);
  return batch;
}

std::size_t ReplyQueue::Size() const {
  std::lock_guard<std::mutex> hold(queueLock_);
  return replyQueue_.size();
}
