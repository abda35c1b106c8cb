#include "devices/multi_change.h"

#include "devices/address_plan.h"
#include "dialogs/address_pair.h"

IpSettings SettingsForDevice(IpSettings settings, const DeviceInfo& device) {
  if (settings.ipMode < 0) settings.ipMode = device.ipMode;
  return settings;
}

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

bool PlanMultiChange(const std::vector<DeviceRow>& rows,
                     const MultiChangeTargets& targets,
                     const IpSettings& settings,
                     std::vector<DeviceInfo>* bodies, std::wstring* message) {
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
  bodies->clear();
  for (std::size_t k = 0; k < targets.rows.size(); ++k) {
    DeviceInfo body = rows[targets.rows[k]].record;
    IpSettings own = SettingsForDevice(settings, body);
    own.ipAddress = NumericToNetwork(plan.addresses[k]);
    ApplyIpSettings(body, own);
    bodies->push_back(body);
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
  RequestStop();
  if (thread_.joinable()) thread_.join();
}

void MultiChangePass::RequestStop() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    quit_ = true;
  }
  quitting_.notify_all();
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
