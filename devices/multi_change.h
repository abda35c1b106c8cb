// The multi-device change. The checked rows are the targets, top to bottom;
// each gets the entered settings with an address of its own from the address
// plan. The bodies are planned on the user-interface thread before the pass;
// the pass then, on a thread of its own, sends one change request per target
// and reports each step (the view writes the target's record then), after a
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

#include "devices/device_table.h"

// The settings a device is sent: when no IP mode was picked in the dialog
// (the mode list was empty, as for a device in an unknown mode) the device
// keeps its own mode instead of being sent -1.
IpSettings SettingsForDevice(IpSettings settings, const DeviceInfo& device);

struct MultiChangeTargets {
  std::vector<std::size_t> rows;      // indexes of the targets, top to bottom
  std::vector<std::uint32_t> others;  // addresses shown by every other row
};
MultiChangeTargets FindMultiChangeTargets(const std::vector<DeviceRow>& rows);

// The change request body of each target: its own record with the settings
// (addresses in network byte order, as the dialog gives them) and the
// target's planned address. On failure `message` says why, for the user.
bool PlanMultiChange(const std::vector<DeviceRow>& rows,
                     const MultiChangeTargets& targets,
                     const IpSettings& settings,
                     std::vector<DeviceInfo>* bodies, std::wstring* message);

class MultiChangePass {
 public:
  static constexpr std::chrono::milliseconds kFirstPause{1000};
  static constexpr std::chrono::milliseconds kStepPause{50};

  using Send = std::function<void(const DeviceInfo& body)>;
  // Called with the number of devices done so far; waits until shown.
  using Report = std::function<void(int done)>;
  using Finished = std::function<void()>;

  MultiChangePass(std::vector<DeviceInfo> bodies, Send send, Report report,
                  Finished finished);
  // Ends the pass at once if it still runs: no further request leaves.
  ~MultiChangePass();
  MultiChangePass(const MultiChangePass&) = delete;
  MultiChangePass& operator=(const MultiChangePass&) = delete;

  void Start();
  // Asks the pass to end after the current step; no further request leaves.
  void RequestStop();
  bool Running() const { return !done_.load(); }

 private:
  void Run();
  bool Pause(std::chrono::milliseconds limit);

  std::vector<DeviceInfo> bodies_;
  Send send_;
  Report report_;
  Finished finished_;
  std::thread thread_;
  std::mutex lock_;
  std::condition_variable quitting_;
  bool quit_ = false;
  std::atomic<bool> done_{false};
};
