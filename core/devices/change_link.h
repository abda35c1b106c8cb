// How change requests leave: one seam between the IP change and the
// discovery engine, so that the change can be tested without a network and
// the command line and the window send the same way.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "core/protocol/datagram.h"

class ChangeLink {
 public:
  virtual ~ChangeLink() = default;
  // False when the requests cannot leave; the engine's own message has said
  // why (the port is taken, no adapter).
  virtual bool Open() = 0;
  // One change request with `body`, through every adapter. Returns how many
  // adapters it left through; 0 means it never left.
  virtual int Send(const DeviceInfo& body) = 0;
  virtual void Close() = 0;
};

// The discovery engine, started for the change and stopped after it. It
// ignores every reply it hears meanwhile: a reply heard during a change (a
// device announcing its old settings) must not reach the next search.
class EngineChangeLink : public ChangeLink {
 public:
  // The local addresses of the adapters the requests leave through; none
  // for every adapter.
  explicit EngineChangeLink(std::vector<std::uint32_t> adapters = {})
      : adapters_(std::move(adapters)) {}
  ~EngineChangeLink() override { Close(); }
  bool Open() override;
  int Send(const DeviceInfo& body) override;
  void Close() override;

 private:
  std::vector<std::uint32_t> adapters_;
  bool open_ = false;
};

enum class ChangeResult {
  Sent,
  LinkFailed,  // the link did not open; the engine's message said why
  NotSent,     // the request left through no adapter
};

// The settings a device is sent: when no IP mode was picked (the dialog's
// mode list was empty, as for a device in an unknown mode) the device keeps
// its own mode instead of being sent -1.
IpSettings SettingsForDevice(IpSettings settings, const DeviceInfo& device);

// One change request for `record` (a row's own copy of the device's reply)
// with `settings`, checked by the caller. The record takes the settings
// only when the request has left.
ChangeResult ChangeOneDevice(DeviceInfo& record, const IpSettings& settings,
                             ChangeLink& link);
