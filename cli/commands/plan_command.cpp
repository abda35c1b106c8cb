#include "cli/commands/commands.h"
#include "cli/commands/report_output.h"
#include "cli/commands/second_stop.h"
#include "cli/device/subnet_reach.h"
#include "cli/format/messages.h"
#include "cli/format/progress_line.h"
#include "cli/format/text_encoding.h"
#include "cli/network/engine_discovery.h"
#include "cli/network/network.h"
#include "cli/plan/plan_apply.h"
#include "cli/plan/plan_status.h"
#include "cli/workbook/workbook_read.h"
#include "core/engine/local_adapters.h"
#include "platform/file_read.h"
#include "platform/stop_signal.h"

namespace cli {
namespace {

PlanSetting SettingOf(const Options& options) {
  PlanSetting setting;
  setting.localAddresses = AddressesOf(LocalAdapters());
  if (options.from)
    setting.numbering = Numbering{*options.from, options.edit.mask,
                                  options.edit.gateway, options.fromLast};
  return setting;
}

// A workbook's chosen sheet, or CSV, through the same plan rules.
PlanFile ReadPlan(const std::string& bytes, const Options& options,
                  BlankIp blankIp) {
  const std::string& path = options.planPath;
  if (!LooksLikeWorkbook(bytes)) {
    if (options.sheet.empty()) return ReadPlanCsv(bytes, path, blankIp);
    PlanFile refused;
    refused.errors = {path +
                      ": --sheet names a workbook's sheet, and this is "
                      "a text file"};
    return refused;
  }
  const WorkbookCells cells = ReadWorkbookCells(bytes, options.sheet);
  if (!cells.ok) {
    PlanFile refused;
    refused.errors = {path + ": " + cells.why};
    return refused;
  }
  return ReadPlanRecords(cells.records, path + ":" + Printable(cells.sheet),
                         blankIp);
}

// What a wave's verify waits for, on standard error.
std::string WaveText(const WaveNews& news) {
  const std::string wave = "wave " + std::to_string(news.wave) + ": ";
  const std::string returns =
      std::to_string(news.returns) +
      (news.returns == 1 ? " parked device back to its own address"
                         : " parked devices back to their own addresses");
  if (news.changes == 0)
    return wave + "sending " + returns + "; waiting for them to answer there";
  return wave + "sent " + std::to_string(news.changes) +
         (news.changes == 1 ? " change request" : " change requests") +
         (news.returns ? " and " + returns : std::string()) +
         "; waiting for the devices to answer with the new settings";
}

int ExitStatus(const std::vector<PlanOutcome>& outcomes, bool applied,
               ApplyEnd end) {
  if (end == ApplyEnd::LinkFailed || PlanNotSent(outcomes))
    return EXIT_NETWORK_FAILURE;
  if (end == ApplyEnd::Stopped) return EXIT_STOPPED;
  return PlanSucceeded(outcomes, applied) ? EXIT_DONE : EXIT_PROBLEMS;
}

// Each change that takes its device out of reach of this computer, before
// it goes.
void WarnOfLeavingSubnets(const std::vector<PlanOutcome>& outcomes,
                          const Findings& found) {
  const std::vector<LocalAdapter> local = LocalAdapters();
  for (const PlanOutcome& outcome : outcomes) {
    if (outcome.status != ChangeStatus::Change) continue;
    for (const FoundDevice& device : found.devices) {
      if (device.mac != outcome.mac) continue;
      const std::string warning = LeavingSubnetsWarning(
          MacString(outcome.mac), device.settings, outcome.proposed,
          AdaptersWith(found.domains.AdapterAddresses(device.place.domain),
                       local));
      if (!warning.empty()) Tell(warning);
    }
  }
}

}  // namespace

int PlanCommand(const Options& options) {
  const FileRead file = ReadWholeFile(options.planPath);
  if (!file.ok) {
    Tell("cannot read the plan file '" + options.planPath +
         "': " + file.reason);
    return EXIT_REFUSED;
  }
  // Rows without an ip cell are numbered with --from; without, they keep
  // their devices' addresses.
  const PlanFile plan = ReadPlan(
      file.bytes, options, options.from ? BlankIp::Numbered : BlankIp::Kept);
  if (!plan.ok) {
    for (const std::string& error : plan.errors) Tell(error);
    return EXIT_REFUSED;
  }
  if (!plan.warning.empty()) Tell(plan.warning);
  // A stop request during an apply lets it end safely; so it is taken from
  // the start.
  if (options.apply) InstallStopHandlers();
  EngineDiscovery discovery(options.adapter, SearchProtocols(options));
  const SearchOutcome searched =
      discovery.Search(options.timeout, Remarks::Say);
  if (searched.status != LinkStatus::Done) return EXIT_NETWORK_FAILURE;
  const Findings& found = searched.found;
  const PlanSetting setting = SettingOf(options);
  const std::vector<PlanOutcome> judged =
      JudgePlan(plan.rows, found.devices, setting);
  const std::size_t lacking = RangeShortfall(judged);
  if (lacking > 0) {
    Tell("the range " + Dotted(*options.from) + "-" +
         Dotted(*options.fromLast) + " lacks " + std::to_string(lacking) +
         (lacking == 1 ? " address" : " addresses") +
         " for the rows to number; give a longer one with --from");
  }
  std::vector<PlanOutcome> outcomes = judged;
  ApplySetting apply;
  apply.devices = found.devices;
  apply.localAddresses = setting.localAddresses;
  apply.temporary = options.temporary;
  // The dry run, and the check that no swap or rotation lacks a temporary
  // address before anything is sent.
  ForecastPlan(&outcomes, apply);
  ApplyEnd end = ApplyEnd::Finished;
  if (options.apply && !PlanSendable(outcomes)) {
    Tell(
        "nothing was sent: some rows are invalid, in conflict or out of "
        "reach");
  } else if (options.apply) {
    WarnOfLeavingSubnets(judged, found);
    SecondStop second([&options](const std::string& text) {
      Deliver(options, {text, {}});
    });
    second.Acknowledge(
        "stopping: no new wave is sent; the wave under way is verified, then "
        "each device parked on a temporary address goes on to its new "
        "address when that is free, or back to its own; Ctrl+C again ends at "
        "once");
    second.Keep(PlanReport(outcomes, options.format));
    ApplyCalls calls;
    calls.verifyTimeout = options.verifyTimeout;
    calls.stopRequested = StopRequested;
    calls.announce = [](const WaveNews& news) { Tell(WaveText(news)); };
    calls.progress = [&](const std::vector<PlanOutcome>& rows) {
      second.Keep(PlanReport(rows, options.format));
    };
    // After each search of a wave's verify: who is still awaited.
    calls.verifying = [](const VerifyProgress& at) {
      ErrorProgress().Show(VerifyProgressText(
          at.wave, at.answered, at.awaited,
          at.waitingFor ? MacString(*at.waitingFor) : std::string(),
          std::chrono::ceil<std::chrono::seconds>(at.left)));
    };
    outcomes = judged;
    end = ApplyPlan(&outcomes, apply, discovery, calls);
    ErrorProgress().Clear();
  }
  const bool delivered =
      Deliver(options, {PlanReport(outcomes, options.format), {}});
  Tell(PlanSummary(outcomes));
  const int status = ExitStatus(outcomes, options.apply, end);
  // The report's loss matters only where all else went well.
  return delivered || status != EXIT_DONE ? status : EXIT_REFUSED;
}

}  // namespace cli
