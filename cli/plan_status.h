// What an address plan would do to the devices that answered a search: one
// status for each plan row, and the change request body of each row that
// changes a device.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/found_device.h"
#include "cli/plan_file.h"

namespace cli {

enum class PlanStatus {
  Change,
  Unchanged,
  Missing,
  Invalid,
  Conflict,
  // After --apply, for the rows that were Change.
  Confirmed,
  NotConfirmed,
};

const char* StatusName(PlanStatus status);

struct PlanOutcome {
  Mac mac{};
  PlanStatus status = PlanStatus::Missing;
  bool found = false;
  std::uint32_t currentIp = 0;  // meaningful when found
  std::uint32_t plannedIp = 0;
  std::string message;
  // The change request for a Change row.
  DeviceInfo body;
};

// A device that the plan gives another address frees its own, so devices
// can swap addresses; every other listed address, one planned twice and the
// subnet's network, broadcast and gateway addresses are conflicts.
std::vector<PlanOutcome> JudgePlan(const std::vector<PlanRow>& rows,
                                   const std::vector<FoundDevice>& devices);

// True when the plan may be sent: no row is invalid or in conflict.
bool PlanSendable(const std::vector<PlanOutcome>& outcomes);
// True when every row ended well: Change or Unchanged for a dry run,
// Confirmed or Unchanged once applied.
bool PlanSucceeded(const std::vector<PlanOutcome>& outcomes, bool applied);

// The report: mac, status, current_ip, planned_ip, message.
std::string PlanJson(const std::vector<PlanOutcome>& outcomes);
std::string PlanCsv(const std::vector<PlanOutcome>& outcomes);
std::string PlanTable(const std::vector<PlanOutcome>& outcomes);

}  // namespace cli
