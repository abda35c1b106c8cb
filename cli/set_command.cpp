#include "cli/commands.h"
#include "cli/messages.h"
#include "cli/network.h"
#include "cli/set_report.h"
#include "cli/text_formats.h"
#include "core/devices/change_link.h"
#include "core/validation/change_check.h"

namespace cli {

int SetCommand(const Options& options) {
  Findings found;
  if (!SearchDevices(options.timeout, ThroughOption(options.adapter), &found))
    return EXIT_NETWORK_FAILURE;
  const FoundDevice* target = nullptr;
  for (const FoundDevice& device : found.devices)
    if (device.info.macAddress == options.mac) target = &device;
  if (!target) {
    Tell(Utf8(MacText(options.mac)) + " did not answer the search");
    return EXIT_NOT_FOUND;
  }
  const Through through = ChangeThrough(found, *target, options.adapter);
  if (through.empty()) {
    Tell(UnreachableText(*target));
    return EXIT_NETWORK_FAILURE;
  }
  // The device's own broadcast domain is all that counts: the same address
  // may be another device's on another VLAN.
  AddressBook shown;
  for (const FoundDevice& device : found.devices)
    if (device.place.domain == target->place.domain)
      shown.Add(device.info.ipAddress, device.info.macAddress);
  const IpSettings proposed = ProposedSettings(target->info, options.edit);
  // This computer's addresses are never a device's, whatever the domain.
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
  EngineChangeLink link(through);
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
        VerifyChanges({report.sent}, options.verifyTimeout, through);
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
