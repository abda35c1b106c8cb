#include <fstream>
#include <sstream>

#include "cli/commands.h"
#include "cli/messages.h"
#include "cli/network.h"
#include "cli/plan_apply.h"
#include "cli/plan_status.h"
#include "core/engine/local_adapters.h"

namespace cli {
namespace {

bool ReadWholeFile(const std::string& path, std::string* text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream content;
  content << file.rdbuf();
  if (file.bad()) return false;
  *text = content.str();
  return true;
}

PlanSetting SettingOf(const Options& options) {
  PlanSetting setting;
  setting.localAddresses = AddressesOf(LocalAdapters());
  if (options.from)
    setting.numbering =
        Numbering{*options.from, options.edit.mask, options.edit.gateway};
  return setting;
}

void Report(const std::vector<PlanOutcome>& outcomes, Format format) {
  switch (format) {
    case Format::Json:
      Emit(PlanJson(outcomes));
      break;
    case Format::Csv:
      Emit(PlanCsv(outcomes));
      break;
    case Format::Table:
      Emit(PlanTable(outcomes));
      break;
  }
}

}  // namespace

int PlanCommand(const Options& options) {
  std::string text;
  if (!ReadWholeFile(options.planPath, &text)) {
    Tell("cannot read the plan file '" + options.planPath + "'");
    return EXIT_REFUSED;
  }
  // Rows without an ip cell are numbered with --from; without, they keep
  // their devices' addresses.
  const PlanFile plan = ReadPlanCsv(
      text, options.planPath, options.from ? BlankIp::Numbered : BlankIp::Kept);
  if (!plan.ok) {
    Tell(plan.error);
    return EXIT_REFUSED;
  }
  if (!plan.warning.empty()) Tell(plan.warning);
  Findings found;
  if (!SearchDevices(options.timeout, ThroughOption(options.adapter), &found))
    return EXIT_NETWORK_FAILURE;
  const PlanSetting setting = SettingOf(options);
  std::vector<PlanOutcome> outcomes =
      JudgePlan(plan.rows, found.devices, setting);
  ApplySetting apply;
  apply.devices = found.devices;
  apply.localAddresses = setting.localAddresses;
  apply.through = [&](std::uint32_t domain) {
    return DomainThrough(found.domains, domain, options.adapter);
  };
  apply.temporary = options.temporary;
  PlanTemporaryHops(&outcomes, apply);
  if (options.apply && !PlanSendable(outcomes)) {
    Tell(
        "nothing was sent: some rows are invalid, in conflict or out of "
        "reach");
  } else if (options.apply &&
             !ApplyInWaves(&outcomes, apply, options.verifyTimeout)) {
    return EXIT_NETWORK_FAILURE;
  }
  Report(outcomes, options.format);
  if (PlanNotSent(outcomes)) return EXIT_NETWORK_FAILURE;
  return PlanSucceeded(outcomes, options.apply) ? EXIT_DONE : EXIT_PROBLEMS;
}

}  // namespace cli
