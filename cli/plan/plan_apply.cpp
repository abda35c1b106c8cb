#include "cli/plan/plan_apply.h"

#include <set>
#include <unordered_map>

namespace cli {
namespace {

std::vector<ApplyMove> MovesOf(const std::vector<PlanOutcome>& outcomes,
                               const ApplySetting& setting) {
  std::unordered_map<std::uint64_t, const FoundDevice*> byMac;
  for (const FoundDevice& device : setting.devices)
    if (device.mac) byMac[MacKey(*device.mac)] = &device;
  std::vector<ApplyMove> moves;
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    const PlanOutcome& outcome = outcomes[i];
    if (outcome.status != ChangeStatus::Change) continue;
    moves.push_back({outcome.mac, byMac.at(MacKey(outcome.mac))->settings,
                     outcome.proposed, outcome.place.domain, outcome.message,
                     i});
  }
  return moves;
}

ApplyRules RulesOf(const ApplySetting& setting) {
  ApplyRules rules;
  rules.localAddresses = setting.localAddresses;
  rules.temporary = setting.temporary;
  return rules;
}

// The row's status, and why a NotSent row was not sent.
ChangeStatus StatusOf(MoveState state, NotSentCause* cause) {
  *cause = state == MoveState::NotSent ? NotSentCause::Network
                                       : NotSentCause::HeldBack;
  switch (state) {
    case MoveState::Pending:
      return ChangeStatus::Change;
    case MoveState::Sent:
      return ChangeStatus::Sent;
    case MoveState::Confirmed:
      return ChangeStatus::Confirmed;
    case MoveState::NotConfirmed:
      return ChangeStatus::NotConfirmed;
    case MoveState::Parked:
    case MoveState::Stranded:
      return ChangeStatus::Stranded;
    case MoveState::Returned:
      return ChangeStatus::Returned;
    case MoveState::NotSent:
    case MoveState::Withheld:
    case MoveState::Halted:
    case MoveState::NoTemporary:
      break;
  }
  return ChangeStatus::NotSent;
}

// Writes the moves' ends into their rows.
void Record(const std::vector<MoveReport>& reports,
            const std::vector<ApplyMove>& moves,
            std::vector<PlanOutcome>* outcomes) {
  for (std::size_t k = 0; k < reports.size() && k < moves.size(); ++k) {
    PlanOutcome& row = (*outcomes)[moves[k].row];
    row.status = StatusOf(reports[k].state, &row.notSent);
    row.message = reports[k].message;
    row.nowIp = reports[k].nowIp;
  }
}

}  // namespace

void ForecastPlan(std::vector<PlanOutcome>* outcomes,
                  const ApplySetting& setting) {
  const std::vector<ApplyMove> moves = MovesOf(*outcomes, setting);
  const ApplyResult forecast =
      ForecastApply(moves, setting.devices, RulesOf(setting));
  for (PlanOutcome& row : *outcomes)
    if (row.found) row.nowIp = row.currentIp;
  for (std::size_t k = 0; k < moves.size(); ++k) {
    PlanOutcome& row = (*outcomes)[moves[k].row];
    const MoveReport& report = forecast.moves[k];
    row.message = report.message;
    if (report.state == MoveState::NoTemporary)
      row.status = ChangeStatus::Conflict;
  }
}

ApplyEnd ApplyPlan(std::vector<PlanOutcome>* outcomes,
                   const ApplySetting& setting, ApplyLink& link,
                   const ApplyCalls& calls) {
  const std::vector<ApplyMove> moves = MovesOf(*outcomes, setting);
  ApplyRules rules = RulesOf(setting);
  rules.verifyTimeout = calls.verifyTimeout;
  rules.stopRequested = calls.stopRequested;
  rules.announce = calls.announce;
  rules.verifying = calls.verifying;
  // Each row's now_ip is where the last search heard its device; so every
  // domain the plan's rows are in is searched.
  std::set<std::uint32_t> domains;
  for (const PlanOutcome& row : *outcomes)
    if (row.found && row.place.adapter) domains.insert(row.place.domain);
  rules.finalSearchDomains.assign(domains.begin(), domains.end());
  std::vector<PlanOutcome> snapshot = *outcomes;
  for (PlanOutcome& row : snapshot)
    if (row.found) row.nowIp = row.currentIp;
  if (calls.progress) {
    rules.progress = [&](const std::vector<MoveReport>& reports) {
      Record(reports, moves, &snapshot);
      calls.progress(snapshot);
    };
  }
  const ApplyResult result = RunApply(moves, setting.devices, rules, link);
  Record(result.moves, moves, outcomes);
  if (result.lastSearch) {
    std::unordered_map<std::uint64_t, std::uint32_t> heard;
    for (const FoundDevice& device : *result.lastSearch)
      if (device.mac) heard[MacKey(*device.mac)] = device.settings.ipAddress;
    for (PlanOutcome& row : *outcomes) {
      const auto found = heard.find(MacKey(row.mac));
      row.nowIp.reset();
      if (found != heard.end()) row.nowIp = found->second;
    }
  }
  return result.end;
}

}  // namespace cli
