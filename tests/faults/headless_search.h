// A whole search without windows, as the device view runs it: the real
// engine, the reply queue, the search worker and a table made and sorted on a
// stand-in user-interface thread. The test decides when the search ends, so
// it can break the network in between, and learns what the caps held back.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <map>
#include <vector>

#include "devices/device_table.h"
#include "devices/search_worker.h"
#include "discovery/net.h"
#include "tests/devices/ui_thread.h"

class HeadlessSearch {
 public:
  HeadlessSearch();
  ~HeadlessSearch();
  HeadlessSearch(const HeadlessSearch&) = delete;
  HeadlessSearch& operator=(const HeadlessSearch&) = delete;

  // The start of a search: false when the engine did not start.
  bool Start();
  // The third tick: stops the engine and sorts. Aborts the whole program when
  // the user-interface thread does not come back within `limit`, since a
  // hung stop leaves nothing safe to tear down.
  void End(std::chrono::milliseconds limit);
  // Whether the worker has ended on its own within `limit` after End.
  bool WorkerEnded(std::chrono::milliseconds limit);

  std::vector<DeviceRow> Rows();
  // The most replies the worker took out of the queue at once.
  std::size_t LargestBatch();
  // How many replies the intake answered with `result`.
  std::size_t Count(Intake result);
  // Replies the full queue turned away.
  std::size_t QueueDrops() const { return queueDrops_; }
  std::size_t QueueSize() const { return queue_.Size(); }

 private:
  static std::int32_t OnDatagram(const std::uint8_t* buffer, std::int32_t,
                                 const net::Endpoint&);
  void TakeIn(const std::vector<PendingReply>& batch);
  void Sort();

  ReplyQueue queue_;
  std::atomic<bool> searching_{false};
  DeviceTable table_;
  // Touched on the user-interface thread only, like the table.
  std::size_t largestBatch_ = 0;
  std::map<Intake, std::size_t> counts_;
  std::atomic<std::size_t> queueDrops_{0};
  SearchWorker worker_;
  UiThread ui_;  // last: it ends first, before what its work touches
};
