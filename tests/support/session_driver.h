// A front end for tests: the real search session on a stand-in owner thread,
// its intake served as a window serves it and its ticks given by the test,
// so that no test waits for the session's real seconds.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <vector>

#include "core/devices/search_session.h"
#include "tests/support/ui_thread.h"

class SessionDriver : private SearchFrontEnd {
 public:
  explicit SessionDriver(SearchOptions options = {});
  ~SessionDriver() override;
  SessionDriver(const SessionDriver&) = delete;
  SessionDriver& operator=(const SessionDriver&) = delete;

  SearchStart Start();
  // Gives the session the rest of its ticks and waits until it has taken in
  // every reply. Aborts the whole program when the owner's thread does not
  // come back within `limit`, since a hung end leaves nothing safe to tear
  // down.
  void End(std::chrono::milliseconds limit);
  // Serves the intake until `count` rows are listed or `limit` passes.
  bool WaitForRows(std::size_t count, std::chrono::milliseconds limit);

  std::vector<DeviceRow> Rows();
  TurnedAway TurnedAwayDevices();
  bool Searching();
  int Collisions();
  int Ends();
  bool Ticking();
  // Hands replies to the session as its worker does.
  void Deliver(std::vector<PendingReply> batch);

 private:
  void StartTicks(std::chrono::milliseconds period) override;
  void StopTicks() override;
  void RepliesWaiting() override;
  void OnRowsAdded(const RowsAdded& added) override;
  void OnCollision() override;
  void OnEnded() override;

  // Touched on the owner's thread only, like the table.
  DeviceTable table_;
  int collisions_ = 0;
  int ends_ = 0;
  bool ticking_ = false;
  std::unique_ptr<SearchSession> session_;
  UiThread owner_;  // last: it ends first, before what its work touches
};
