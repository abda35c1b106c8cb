#include "cli/commands.h"
#include "cli/messages.h"
#include "cli/network.h"
#include "cli/set_report.h"
#include "cli/text_formats.h"
#include "core/devices/change_link.h"
#include "core/validation/change_check.h"

namespace cli {

int SetCommand(const Options& options) {
  std::vector<FoundDevice> devices;
  if (!SearchDevices(options.timeout, options.adapter, &devices))
    return EXIT_NETWORK_FAILURE;
  const FoundDevice* target = nullptr;
  AddressBook shown;
  for (const FoundDevice& device : devices) {
    if (device.info.macAddress == options.mac) target = &device;
    shown.Add(device.info.ipAddress, device.info.macAddress);
  }
  if (!target) {
    Tell(Utf8(MacText(options.mac)) + " did not answer the search");
    return EXIT_NOT_FOUND;
  }
  const IpSettings proposed = ProposedSettings(target->info, options.edit);
  const std::vector<ChangeProblem> problems =
      CheckChange(proposed, target->info,
                  ChangeContext{&shown, AddressesOf(LocalAdapters()), nullptr});
  if (!problems.empty()) {
    Tell(Sentence(OneLine(ChangeProblemMessage(problems[0]))) +
         " Nothing was sent.");
    return EXIT_REFUSED;
  }

  SetReport report;
  report.before = *target;
  report.sent = target->info;
  ApplyIpSettings(report.sent, proposed);
  DeviceInfo record = target->info;
  EngineChangeLink link(options.adapter);
  switch (ChangeOneDevice(record, proposed, link)) {
    case ChangeResult::Sent:
      break;
    case ChangeResult::LinkFailed:
      return EXIT_NETWORK_FAILURE;
    case ChangeResult::NotSent:
      Tell("the change request for " + MacString(report.sent) +
           " left through no adapter: nothing was sent");
      report.status = "not-sent";
      Emit(options.format == Format::Json ? SetReportJson(report)
                                          : SetReportTable(report));
      return EXIT_NETWORK_FAILURE;
  }

  int status = EXIT_DONE;
  report.status = "sent";
  if (options.verify) {
    Tell("sent the change to " + MacString(report.sent) +
         "; waiting for it to answer with the new settings");
    const VerifyOutcome verified =
        VerifyChanges({report.sent}, options.verifyTimeout, options.adapter);
    if (verified.engineFailed) return EXIT_NETWORK_FAILURE;
    report.answered = verified.confirmed[0];
    report.after = verified.answers[0];
    report.status = report.answered ? "confirmed" : "not-confirmed";
    if (!report.answered) status = EXIT_PROBLEMS;
  }
  Emit(options.format == Format::Json ? SetReportJson(report)
                                      : SetReportTable(report));
  return status;
}

}  // namespace cli
