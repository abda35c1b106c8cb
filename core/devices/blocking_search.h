// One search run to its end on the calling thread, for front ends without a
// message loop (the command line): the session's ticks become timed waits on
// a condition variable, and a delivery from the search worker cuts the wait
// short so that the replies are taken in as they come.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "core/devices/device_table.h"
#include "core/devices/search_session.h"

class BlockingSearch : private SearchFrontEnd {
 public:
  explicit BlockingSearch(SearchOptions options) : options_(options) {}

  // Runs one search; returns once the engine has stopped and every reply it
  // heard is in the table. When the engine does not start, its own message
  // has said why and the table is empty.
  SearchStart Run();
  // The rows of the last search, in the session's order.
  const std::vector<DeviceRow>& Rows() { return table_.MutableRows(); }
  // The devices of the last search that answered beyond the row cap.
  TurnedAway TurnedAwayDevices() const { return table_.TurnedAwayDevices(); }
  // Which interfaces heard each device, with Ingress::Recorded.
  const IngressRecord& Heard() const { return heard_; }

 private:
  void StartTicks(std::chrono::milliseconds period) override;
  void StopTicks() override;
  void RepliesWaiting() override;
  void OnRowsAdded(const RowsAdded&) override {}
  void OnCollision() override {}
  void OnEnded() override { ended_ = true; }

  const SearchOptions options_;
  DeviceTable table_;
  IngressRecord heard_;
  // Owner's thread only.
  std::chrono::milliseconds period_{0};
  bool ticking_ = false;
  bool ended_ = false;
  // Set by the worker's thread.
  std::mutex lock_;
  std::condition_variable wake_;
  bool waiting_ = false;
};
