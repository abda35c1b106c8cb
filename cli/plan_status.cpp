#include "cli/plan_status.h"

#include <cstddef>
#include <map>
#include <set>

#include "cli/text_formats.h"
#include "core/validation/change_check.h"

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

// The report's status for a row that the checker refuses.
PlanStatus StatusOf(const ChangeProblem& problem) {
  return IsInputProblem(problem.kind) ||
                 problem.kind == ChangeProblemKind::ZeroAddress
             ? PlanStatus::Invalid
             : PlanStatus::Conflict;
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
    case PlanStatus::NotSent:
      return "not-sent";
  }
  return "";
}

std::vector<PlanOutcome> JudgePlan(
    const std::vector<PlanRow>& rows, const std::vector<FoundDevice>& devices,
    const std::vector<std::uint32_t>& localAddresses) {
  std::map<Mac, const FoundDevice*> byMac;
  for (const FoundDevice& device : devices)
    byMac.emplace(device.info.macAddress, &device);
  std::set<Mac> movedAway;
  AddressBook planned;
  for (const PlanRow& row : rows) {
    planned.Add(*row.edit.ip, row.mac);
    const auto device = byMac.find(row.mac);
    if (device != byMac.end() && device->second->info.ipAddress != *row.edit.ip)
      movedAway.insert(row.mac);
  }
  AddressBook staying;
  for (const FoundDevice& device : devices) {
    if (!movedAway.count(device.info.macAddress))
      staying.Add(device.info.ipAddress, device.info.macAddress);
  }
  const ChangeContext context{&staying, localAddresses, &planned};

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
    const IpSettings proposed = ProposedSettings(current, row.edit);
    const std::vector<ChangeProblem> problems =
        CheckChange(proposed, current, context);
    // The problems come in the order of their kinds, the input checks
    // first: the first one says the most.
    if (!problems.empty()) {
      outcome.status = StatusOf(problems[0]);
      outcome.message = OneLine(ChangeProblemMessage(problems[0]));
    } else if (proposed == SettingsFromDeviceInfo(current)) {
      outcome.status = PlanStatus::Unchanged;
    } else {
      outcome.status = PlanStatus::Change;
      outcome.body = current;
      ApplyIpSettings(outcome.body, proposed);
      outcome.message =
          "changes " + Join(ChangedSettings(current, outcome.body));
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

bool PlanNotSent(const std::vector<PlanOutcome>& outcomes) {
  for (const PlanOutcome& outcome : outcomes)
    if (outcome.status == PlanStatus::NotSent) return true;
  return false;
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
