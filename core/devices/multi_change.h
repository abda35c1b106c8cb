// The multi-device change. The checked rows are the targets, top to bottom;
// each gets the entered settings with an address of its own from the address
// plan. The bodies are planned on the owner's thread before the pass; the
// pass then, on a thread of its own, sends one change request per body and
// reports each step (the window writes the target's record then, if the
// request left), after a first pause while the progress dialog opens and
// with a short pause between steps.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/devices/change_link.h"
#include "core/devices/device_table.h"

struct PlannedChange {
  std::size_t row = 0;  // the target's row index
  DeviceInfo body;      // the request sent to it
};

struct MultiChangePlan {
  std::vector<PlannedChange> changes;  // the targets, top to bottom
  std::vector<DeviceInfo> Bodies() const;
};

// The change request body of each checked row: its own record with the
// entered settings and the target's planned address. No target is given an
// address that another listed row shows, moved or not, nor one that the
// checker refuses otherwise (the gateway's, one of `localAddresses`); a
// target may keep its own. On refusal `message` says why, for the user, and
// `plan` is left empty.
bool PlanMultiChange(const std::vector<DeviceRow>& rows,
                     const IpSettings& settings,
                     const std::vector<std::uint32_t>& localAddresses,
                     MultiChangePlan* plan, std::wstring* message);

// The owner's side of step `done`, whose request left through `adapters`
// adapters: the target's record now holds what was sent, if it left at all.
void CommitStep(const MultiChangePlan& plan, int done, int adapters,
                DeviceTable& table);

// The pauses of the pass.
struct PassTiming {
  // Before the first request: the window's progress dialog opens meanwhile.
  std::chrono::milliseconds first{1000};
  // After each request, so that a switch full of devices is not flooded.
  std::chrono::milliseconds step{50};
};

class ChangePass {
 public:
  // Called on the pass's thread after each request, with the number of
  // bodies handled so far and the adapters the last one left through (0: it
  // never left); the window waits until the step is shown.
  using Report = std::function<void(int done, int adapters)>;

  ChangePass(ChangeLink& link, std::vector<DeviceInfo> bodies,
             PassTiming timing = {});
  // Ends the pass at once if it still runs (no further request leaves) and
  // closes the link.
  ~ChangePass();
  ChangePass(const ChangePass&) = delete;
  ChangePass& operator=(const ChangePass&) = delete;

  // Opens the link and starts the pass. False when the link does not open:
  // then nothing is sent and nothing is reported.
  bool Start(Report report);
  // Asks the pass to end after the current step; no further request leaves.
  void RequestStop();
  bool Running() const { return thread_.joinable() && !done_.load(); }
  // Waits for the pass to end by itself.
  void Join();

 private:
  void Run();
  bool Pause(std::chrono::milliseconds limit);

  ChangeLink& link_;
  std::vector<DeviceInfo> bodies_;
  const PassTiming timing_;
  Report report_;
  std::thread thread_;
  std::mutex lock_;
  std::condition_variable quitting_;
  bool quit_ = false;
  std::atomic<bool> done_{false};
};
