#include "core/devices/change_link.h"

#include "core/devices/multi_change.h"
#include "core/engine/engine.h"
#include "core/validation/address_pair.h"

bool EngineChangeLink::Open() {
  if (open_) return true;
  open_ = DiscoveryStart(nullptr, AdapterChoice{adapter_}) == 1;
  return open_;
}

void EngineChangeLink::Send(const DeviceInfo& body) {
  if (open_) DiscoverySend(CMD_CHANGE_IP, &body);
}

void EngineChangeLink::Close() {
  if (!open_) return;
  DiscoveryStop();
  open_ = false;
}

ChangeResult ChangeOneDevice(DeviceInfo& record, const IpSettings& entered,
                             ChangeLink& link, std::wstring* message) {
  const AddressPairOutcome check =
      IsValidAddressPair(entered.ipAddress, entered.subnetMask);
  if (check != AddressPairOutcome::Valid) {
    *message = AddressPairMessage(check);
    return ChangeResult::Refused;
  }
  DeviceInfo body = record;
  ApplyIpSettings(body, SettingsForDevice(entered, record));
  if (!link.Open()) return ChangeResult::NotSent;
  link.Send(body);
  link.Close();
  record = body;
  return ChangeResult::Sent;
}
