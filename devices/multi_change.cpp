#include "devices/multi_change.h"

#include "devices/address_plan.h"
#include "dialogs/address_pair.h"

MultiChangeTargets FindMultiChangeTargets(const std::vector<DeviceRow>& rows) {
  MultiChangeTargets targets;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].checked)
      targets.rows.push_back(i);
    else
      targets.others.push_back(rows[i].record.ipAddress);
  }
  return targets;
}

bool PrepareMultiChange(std::vector<DeviceRow>& rows,
                        const MultiChangeTargets& targets,
                        const IpSettings& settings, std::wstring* message) {
  const AddressPairOutcome check =
      IsValidAddressPair(settings.ipAddress, settings.subnetMask);
  if (check != AddressPairOutcome::Valid) {
    *message = AddressPairMessage(check);
    return false;
  }
  const AddressPlan plan = PlanAddresses(NetworkToNumeric(settings.ipAddress),
                                         NetworkToNumeric(settings.subnetMask),
                                         targets.rows.size(), targets.others);
  if (!plan.enough) {
    *message = NotEnoughAddressesMessage(static_cast<int>(targets.rows.size()));
    return false;
  }
  for (std::size_t k = 0; k < targets.rows.size(); ++k) {
    IpSettings own = settings;
    own.ipAddress = NumericToNetwork(plan.addresses[k]);
    ApplyIpSettings(rows[targets.rows[k]].record, own);
  }
  return true;
}

MultiChangePass::MultiChangePass(std::vector<DeviceInfo> bodies, Send send,
                                 Report report, Finished finished)
    : bodies_(std::move(bodies)),
      send_(std::move(send)),
      report_(std::move(report)),
      finished_(std::move(finished)) {}

MultiChangePass::~MultiChangePass() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    quit_ = true;
  }
  quitting_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void MultiChangePass::Start() {
  thread_ = std::thread(&MultiChangePass::Run, this);
}

bool MultiChangePass::Pause(std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> hold(lock_);
  return !quitting_.wait_for(hold, limit, [this] { return quit_; });
}

void MultiChangePass::Run() {
  if (Pause(kFirstPause)) {
    int done = 0;
    for (const DeviceInfo& body : bodies_) {
      send_(body);
      report_(++done);
      if (!Pause(kStepPause)) break;
    }
  }
  done_ = true;
  if (finished_) finished_();
}
