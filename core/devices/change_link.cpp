#include "core/devices/change_link.h"

#include "core/engine/engine.h"

bool EngineChangeLink::Open() {
  if (open_) return true;
  open_ = DiscoveryStart(nullptr, AdapterChoice{adapters_}) == 1;
  return open_;
}

int EngineChangeLink::Send(const DeviceInfo& body) {
  return open_ ? DiscoverySend(CMD_CHANGE_IP, &body) : 0;
}

void EngineChangeLink::Close() {
  if (!open_) return;
  DiscoveryStop();
  open_ = false;
}

IpSettings SettingsForDevice(IpSettings settings, const DeviceInfo& device) {
  if (settings.ipMode < 0) settings.ipMode = device.ipMode;
  return settings;
}

ChangeResult ChangeOneDevice(DeviceInfo& record, const IpSettings& settings,
                             ChangeLink& link) {
  DeviceInfo body = record;
  ApplyIpSettings(body, settings);
  if (!link.Open()) return ChangeResult::LinkFailed;
  const int left = link.Send(body);
  link.Close();
  if (left == 0) return ChangeResult::NotSent;
  record = body;
  return ChangeResult::Sent;
}
