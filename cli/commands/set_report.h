// The report of set: the device before, the settings sent, and how it ended.
#pragma once

#include <optional>
#include <string>

#include "cli/device/change_status.h"
#include "cli/device/found_device.h"
#include "cli/format/fields.h"

namespace cli {

struct SetReport {
  FoundDevice before;
  // The request; none when there was nothing to change.
  std::optional<IpSettings> sent;
  // Confirmed, NotConfirmed, Sent (not verified), NotSent or Unchanged.
  ChangeStatus status = ChangeStatus::Unchanged;
  // The device's answer with the new settings, when confirmed.
  bool answered = false;
  FoundDevice after;
};

// JSON: {"mac":...,"status":...,"before":{device},"sent":{settings}|null,
// "after":{device}|null}. The table: the six settings before and as sent,
// a mode by its name, then "MAC: status". CSV: mac,status,setting,before,
// sent and a row per setting, as the JSON form writes the values; sent is
// empty when nothing was sent. The workbook form holds the CSV's rows.
std::string SetReportText(const SetReport& report, Format format);

}  // namespace cli
