// What an address plan would do to the devices that answered a search: one
// status for each plan row, and the settings each row that changes a
// device asks for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/device/change_status.h"
#include "cli/device/found_device.h"
#include "cli/plan/plan_file.h"

namespace cli {

struct PlanOutcome {
  Mac mac{};  // none for a row of a device that only ONVIF names
  bool macGiven = true;
  ChangeStatus status = ChangeStatus::Missing;
  // With NotSent.
  NotSentCause notSent = NotSentCause::Network;
  bool found = false;
  std::uint32_t currentIp = 0;  // meaningful when found
  // None for a numbered row that got no address.
  std::optional<std::uint32_t> plannedIp;
  // A numbered row that found no free address up to the numbering's last
  // one.
  bool pastRange = false;
  std::string message;
  // What a Change row asks the device for.
  IpSettings proposed;
  // Where the device was last heard: its current address in a dry run,
  // where the apply's last search heard it otherwise; none when it did not
  // answer.
  std::optional<std::uint32_t> nowIp;
  // The device's broadcast domain and adapter, when found.
  Placement place;
};

// Rows with a blank ip cell numbered from a start address, in file order
// (plan FILE --from START, or --from START-LAST).
struct Numbering {
  std::uint32_t start = 0;
  // For the rows without a mask or gateway cell; else the device's own.
  std::optional<std::uint32_t> mask;
  std::optional<std::uint32_t> gateway;
  // The last address the numbering may give, inclusive; none: the subnet's
  // end.
  std::optional<std::uint32_t> last;
};

// How many numbered rows found no address up to the numbering's last one:
// the addresses the range lacks.
std::size_t RangeShortfall(const std::vector<PlanOutcome>& outcomes);

struct PlanSetting {
  // This computer's addresses, which no device is given in any domain.
  std::vector<std::uint32_t> localAddresses;
  std::optional<Numbering> numbering;
};

// Each row judged by the change checker, against the devices and rows of
// its device's broadcast domain only: the same address may be planned, or
// shown, in another. A row that asks for what the device already has is
// Unchanged, before any check. Otherwise its input problems make it
// Invalid, the others (the subnet's network, broadcast or gateway address,
// this computer's, an address another device shows or another row plans) a
// Conflict. A device that the plan gives another address frees its own, so
// devices can swap addresses. A numbered row gets the first address from
// the start on that the checker finds free in its domain, after the one the
// row before it there got; a device that did not answer uses up none. A
// device heard only on interfaces without an IPv4 address is NotSent: no
// request can reach it.
std::vector<PlanOutcome> JudgePlan(const std::vector<PlanRow>& rows,
                                   const std::vector<FoundDevice>& devices,
                                   const PlanSetting& setting);

// True when the plan may be sent: no row is invalid, in conflict or
// unreachable.
bool PlanSendable(const std::vector<PlanOutcome>& outcomes);
// True when every row ended well: Change or Unchanged for a dry run,
// Confirmed or Unchanged once applied.
bool PlanSucceeded(const std::vector<PlanOutcome>& outcomes, bool applied);
// True when some row was not sent for a failure of the network.
bool PlanNotSent(const std::vector<PlanOutcome>& outcomes);
// How many rows of each status: "2 confirmed, 1 returned".
std::string PlanSummary(const std::vector<PlanOutcome>& outcomes);

// The report: mac, status, current_ip, planned_ip, message, adapter, now_ip;
// the table shows the message, of any length, last.
std::string PlanReport(const std::vector<PlanOutcome>& outcomes, Format format);

}  // namespace cli
