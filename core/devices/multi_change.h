// The multi-device change. The checked rows are the targets, top to bottom;
// each gets the entered settings with an address of its own from the address
// plan. The bodies are planned on the owner's thread before the pass; the
// pass then, on a thread of its own, sends one change request per body and
// reports each step (the window writes the target's record then), after a
// first pause while the progress dialog opens and with a short pause between
// steps.
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

// The settings a device is sent: when no IP mode was picked in the dialog
// (the mode list was empty, as for a device in an unknown mode) the device
// keeps its own mode instead of being sent -1.
IpSettings SettingsForDevice(IpSettings settings, const DeviceInfo& device);

struct MultiChangePlan {
  std::vector<std::size_t> rows;   // the targets' row indexes, top to bottom
  std::vector<DeviceInfo> bodies;  // bodies[k] is sent to rows[k]
};

// The change request body of each checked row: its own record with the
// settings (addresses in network byte order, as the dialog gives them) and
// the target's planned address. The plan leaves out the addresses that every
// other row shows and the gateway's. On refusal `message` says why, for the
// user, and `plan` is left empty.
bool PlanMultiChange(const std::vector<DeviceRow>& rows,
                     const IpSettings& settings, MultiChangePlan* plan,
                     std::wstring* message);

// The owner's side of a step: the target's record now holds what was sent.
void CommitStep(const MultiChangePlan& plan, int done, DeviceTable& table);

// The pauses of the pass.
struct PassTiming {
  // Before the first request: the window's progress dialog opens meanwhile.
  std::chrono::milliseconds first{1000};
  // After each request, so that a switch full of devices is not flooded.
  std::chrono::milliseconds step{50};
};

class ChangePass {
 public:
  // Called on the pass's thread with the number of bodies sent so far; the
  // window waits until the step is shown.
  using Report = std::function<void(int done)>;

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
