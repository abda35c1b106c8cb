// The intake as the device list does it without an index: every reply is
// compared with the MAC text, then the IP text, of every listed row, each
// text read back through a 256-character buffer the way the list control
// hands it out. The yardstick for DeviceTable, in figures and in results.
#pragma once

#include <vector>

#include "core/devices/device_table.h"

class ReferenceIntake {
 public:
  void ArmCollisionCheck() { collisionCheckArmed_ = true; }
  Intake Add(const PendingReply& entry);
  const std::vector<DeviceRow>& Rows() const { return rows_; }
  std::vector<DeviceRow>& MutableRows() { return rows_; }

 private:
  bool AnyRowText(int column, const std::wstring& text) const;

  std::vector<DeviceRow> rows_;
  bool collisionCheckArmed_ = false;
};
