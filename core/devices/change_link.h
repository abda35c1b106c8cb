// How change requests leave: one seam between the IP change and the
// discovery engine, so that the change can be tested without a network and
// the command line and the window send the same way.
#pragma once

#include "core/protocol/datagram.h"

class ChangeLink {
 public:
  virtual ~ChangeLink() = default;
  // False when the requests cannot leave; the engine's own message has said
  // why (the port is taken, no adapter).
  virtual bool Open() = 0;
  // One change request with `body`, through every adapter.
  virtual void Send(const DeviceInfo& body) = 0;
  virtual void Close() = 0;
};

// The discovery engine, started for the change and stopped after it. It
// ignores every reply it hears meanwhile: a reply heard during a change (a
// device announcing its old settings) must not reach the next search.
class EngineChangeLink : public ChangeLink {
 public:
  // The adapter the requests leave through; 0 for every adapter.
  explicit EngineChangeLink(std::uint32_t adapter = 0) : adapter_(adapter) {}
  ~EngineChangeLink() override { Close(); }
  bool Open() override;
  void Send(const DeviceInfo& body) override;
  void Close() override;

 private:
  std::uint32_t adapter_;
  bool open_ = false;
};

enum class ChangeResult { Sent, Refused, NotSent };

// The single-device change of `record` (a row's own copy of the device's
// reply) to the settings entered in the dialog (addresses in network byte
// order). Refused, with `message` for the user, when the address and mask
// do not make a pair; NotSent when the link does not open. The record takes
// the settings only when the request has left.
ChangeResult ChangeOneDevice(DeviceInfo& record, const IpSettings& entered,
                             ChangeLink& link, std::wstring* message);
