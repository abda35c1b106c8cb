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
  NotSent,  // the request left through no adapter
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

// Each row judged by the change checker: its input problems make it Invalid,
// the others (the subnet's network, broadcast or gateway address, one of
// `localAddresses`, an address another device shows or another row plans)
// a Conflict. A device that the plan gives another address frees its own,
// so devices can swap addresses.
std::vector<PlanOutcome> JudgePlan(
    const std::vector<PlanRow>& rows, const std::vector<FoundDevice>& devices,
    const std::vector<std::uint32_t>& localAddresses);

// True when the plan may be sent: no row is invalid or in conflict.
bool PlanSendable(const std::vector<PlanOutcome>& outcomes);
// True when every row ended well: Change or Unchanged for a dry run,
// Confirmed or Unchanged once applied.
bool PlanSucceeded(const std::vector<PlanOutcome>& outcomes, bool applied);
// True when some request of an applied plan left through no adapter.
bool PlanNotSent(const std::vector<PlanOutcome>& outcomes);

// The report: mac, status, current_ip, planned_ip, message.
std::string PlanJson(const std::vector<PlanOutcome>& outcomes);
std::string PlanCsv(const std::vector<PlanOutcome>& outcomes);
std::string PlanTable(const std::vector<PlanOutcome>& outcomes);

}  // namespace cli
