// The queue between the engine's receive thread, which appends one reply at
// a time, and the search worker, which takes them in batches. The lock is
// held only to append or to swap the whole queue out, never while the rows
// are made: the receive thread never waits on the user-interface thread.
#pragma once

#include <cstddef>
#include <mutex>
#include <vector>

#include "core/devices/device_table.h"

class ReplyQueue {
 public:
  // A flood of replies must not grow memory without bound: beyond this many
  // waiting replies, further ones are dropped until the next batch. At about
  // 200 bytes an entry this is some 13 MB, far more than one batch of a few
  // thousand real devices needs.
  static constexpr std::size_t CAPACITY = 65536;

  // False when the queue is full and the reply was dropped.
  bool Append(PendingReply entry);
  std::vector<PendingReply> TakeAll();
  std::size_t Size() const;

 private:
  mutable std::mutex queueLock_;
  std::vector<PendingReply> replyQueue_;
};
