#include "cli/plan_status.h"

#include <cstddef>
#include <map>
#include <set>

#include "cli/text_formats.h"

namespace cli {
namespace {

const char* const REPORT_KEYS[] = {"mac", "status", "current_ip", "planned_ip",
                                   "message"};

std::string Join(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names)
    joined += (joined.empty() ? "" : ", ") + name;
  return joined;
}

// Why the planned address may not be used, or empty. `movedAway` holds the
// devices that the plan gives another address.
std::string ConflictOf(const PlanRow& row, const DeviceInfo& body,
                       const std::vector<FoundDevice>& devices,
                       const std::set<Mac>& movedAway,
                       const std::multimap<std::uint32_t, int>& planned) {
  const std::uint32_t ip = body.ipAddress;
  const std::uint32_t mask = body.subnetMask;
  const std::string address = Dotted(ip);
  if ((ip & ~mask) == 0) return address + " is the subnet's network address";
  if ((ip | mask) == 0xFFFFFFFFu)
    return address + " is the subnet's broadcast address";
  if (ip == body.gateway) return address + " is the gateway";
  const auto [first, last] = planned.equal_range(ip);
  for (auto other = first; other != last; ++other) {
    if (other->second != row.line)
      return address + " is also planned on line " +
             std::to_string(other->second);
  }
  for (const FoundDevice& device : devices) {
    if (device.info.ipAddress == ip && device.info.macAddress != row.mac &&
        !movedAway.count(device.info.macAddress))
      return address + " is shown by " + MacString(device.info) +
             ", which the plan does not move";
  }
  return std::string();
}

std::vector<std::string> ReportCells(const PlanOutcome& outcome, bool json) {
  auto text = [json](const std::string& value) {
    return json ? JsonString(value) : value;
  };
  std::string current =
      outcome.found ? text(Dotted(outcome.currentIp)) : (json ? "null" : "");
  return {text(Utf8(MacText(outcome.mac))), text(StatusName(outcome.status)),
          current, text(Dotted(outcome.plannedIp)), text(outcome.message)};
}

}  // namespace

const char* StatusName(PlanStatus status) {
  switch (status) {
    case PlanStatus::Change:
      return "change";
    case PlanStatus::Unchanged:
      return "unchanged";
    case PlanStatus::Missing:
      return "missing";
    case PlanStatus::Invalid:
      return "invalid";
    case PlanStatus::Conflict:
      return "conflict";
    case PlanStatus::Confirmed:
      return "confirmed";
    case PlanStatus::NotConfirmed:
      return "not-confirmed";
  }
  return "";
}

std::vector<PlanOutcome> JudgePlan(const std::vector<PlanRow>& rows,
                                   const std::vector<FoundDevice>& devices) {
  std::map<Mac, const FoundDevice*> byMac;
  for (const FoundDevice& device : devices)
    byMac.emplace(device.info.macAddress, &device);
  std::set<Mac> movedAway;
  std::multimap<std::uint32_t, int> planned;  // address -> line
  for (const PlanRow& row : rows) {
    planned.emplace(*row.edit.ip, row.line);
    const auto device = byMac.find(row.mac);
    if (device != byMac.end() && device->second->info.ipAddress != *row.edit.ip)
      movedAway.insert(row.mac);
  }

  std::vector<PlanOutcome> outcomes;
  for (const PlanRow& row : rows) {
    PlanOutcome outcome;
    outcome.mac = row.mac;
    outcome.plannedIp = *row.edit.ip;
    const auto device = byMac.find(row.mac);
    if (device == byMac.end()) {
      outcome.message = "did not answer the search";
      outcomes.push_back(outcome);
      continue;
    }
    const DeviceInfo& current = device->second->info;
    outcome.found = true;
    outcome.currentIp = current.ipAddress;
    const CheckedEdit checked = CheckEdit(current, row.edit);
    // The window refuses a network address as an invalid combination; a
    // plan reports it with the other addresses that may not be planned.
    if (!checked.ok && checked.pair != AddressPairOutcome::Combination) {
      outcome.status = PlanStatus::Invalid;
      outcome.message = checked.message;
    } else if (std::string why =
                   ConflictOf(row, checked.body, devices, movedAway, planned);
               !why.empty()) {
      outcome.status = PlanStatus::Conflict;
      outcome.message = why;
    } else if (ShowsSettings(current, checked.body)) {
      outcome.status = PlanStatus::Unchanged;
    } else {
      outcome.status = PlanStatus::Change;
      outcome.message =
          "changes " + Join(ChangedSettings(current, checked.body));
      outcome.body = checked.body;
    }
    outcomes.push_back(outcome);
  }
  return outcomes;
}

bool PlanSendable(const std::vector<PlanOutcome>& outcomes) {
  for (const PlanOutcome& outcome : outcomes) {
    if (outcome.status == PlanStatus::Invalid ||
        outcome.status == PlanStatus::Conflict)
      return false;
  }
  return true;
}

bool PlanSucceeded(const std::vector<PlanOutcome>& outcomes, bool applied) {
  const PlanStatus done = applied ? PlanStatus::Confirmed : PlanStatus::Change;
  for (const PlanOutcome& outcome : outcomes) {
    if (outcome.status != done && outcome.status != PlanStatus::Unchanged)
      return false;
  }
  return true;
}

std::string PlanJson(const std::vector<PlanOutcome>& outcomes) {
  if (outcomes.empty()) return "[]\n";
  std::string out = "[\n";
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    const std::vector<std::string> cells = ReportCells(outcomes[i], true);
    std::string object = "{";
    for (std::size_t k = 0; k < cells.size(); ++k)
      object += (k ? "," : "") + JsonString(REPORT_KEYS[k]) + ":" + cells[k];
    out += "  " + object + (i + 1 < outcomes.size() ? "},\n" : "}\n");
  }
  return out + "]\n";
}

std::string PlanCsv(const std::vector<PlanOutcome>& outcomes) {
  std::string out = CsvLine(
      std::vector<std::string>(std::begin(REPORT_KEYS), std::end(REPORT_KEYS)));
  for (const PlanOutcome& outcome : outcomes)
    out += CsvLine(ReportCells(outcome, false));
  return out;
}

std::string PlanTable(const std::vector<PlanOutcome>& outcomes) {
  std::vector<std::vector<std::string>> rows;
  for (const PlanOutcome& outcome : outcomes)
    rows.push_back(ReportCells(outcome, false));
  return AlignedTable(
      {"MAC address", "Status", "Current IP", "Planned IP", "Message"}, rows);
}

}  // namespace cli
