#include "core/devices/multi_change.h"

#include "core/devices/address_plan.h"
#include "core/validation/address_pair.h"

bool PlanMultiChange(const std::vector<DeviceRow>& rows,
                     const IpSettings& settings,
                     const std::vector<std::uint32_t>& localAddresses,
                     MultiChangePlan* plan, std::wstring* message) {
  *plan = {};
  const AddressPairOutcome check =
      IsValidAddressPair(settings.ipAddress, settings.subnetMask);
  if (check != AddressPairOutcome::Valid) {
    *message = AddressPairMessage(check);
    return false;
  }
  AddressBook shown;
  std::vector<PlanTarget> targets;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const DeviceInfo& record = rows[i].record;
    shown.Add(record.ipAddress, record.macAddress);
    if (!rows[i].checked) continue;
    plan->changes.push_back({i, record});
    targets.push_back({record.macAddress, SettingsFromDeviceInfo(record),
                       SettingsForDevice(settings, record)});
  }
  const AddressPlan addresses =
      PlanAddresses(settings.ipAddress, settings.subnetMask, targets,
                    ChangeContext{&shown, localAddresses, nullptr});
  if (!addresses.enough) {
    *message = NotEnoughAddressesMessage(static_cast<int>(targets.size()));
    plan->changes.clear();
    return false;
  }
  for (std::size_t k = 0; k < targets.size(); ++k) {
    IpSettings own = targets[k].settings;
    own.ipAddress = addresses.addresses[k];
    ApplyIpSettings(plan->changes[k].body, own);
  }
  return true;
}

std::vector<DeviceInfo> MultiChangePlan::Bodies() const {
  std::vector<DeviceInfo> bodies;
  for (const PlannedChange& change : changes) bodies.push_back(change.body);
  return bodies;
}

void CommitStep(const MultiChangePlan& plan, int done, int adapters,
                DeviceTable& table) {
  if (adapters <= 0 || done < 1 ||
      static_cast<std::size_t>(done) > plan.changes.size())
    return;
  const PlannedChange& change =
      plan.changes[static_cast<std::size_t>(done) - 1];
  if (change.row < table.Size()) table.Record(change.row) = change.body;
}

ChangePass::ChangePass(ChangeLink& link, std::vector<DeviceInfo> bodies,
                       PassTiming timing)
    : link_(link), bodies_(std::move(bodies)), timing_(timing) {}

ChangePass::~ChangePass() {
  RequestStop();
  Join();
}

bool ChangePass::Start(Report report) {
  if (!link_.Open()) return false;
  report_ = std::move(report);
  thread_ = std::thread(&ChangePass::Run, this);
  return true;
}

void ChangePass::RequestStop() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    quit_ = true;
  }
  quitting_.notify_all();
}

void ChangePass::Join() {
  if (!thread_.joinable()) return;
  thread_.join();
  link_.Close();
}

bool ChangePass::Pause(std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> hold(lock_);
  return !quitting_.wait_for(hold, limit, [this] { return quit_; });
}

void ChangePass::Run() {
  if (Pause(timing_.first)) {
    int done = 0;
    for (const DeviceInfo& body : bodies_) {
      const int adapters = link_.Send(body);
      if (report_) report_(++done, adapters);
      if (!Pause(timing_.step)) break;
    }
  }
  done_ = true;
}
