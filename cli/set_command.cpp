#include "cli/commands.h"
#include "cli/messages.h"
#include "cli/network.h"
#include "cli/set_report.h"
#include "cli/text_formats.h"
#include "core/devices/change_link.h"

namespace cli {
namespace {

// Another listed device already shows `address`: the window's multi-device
// plan never hands such an address out, and neither does set.
const FoundDevice* AddressHolder(const std::vector<FoundDevice>& devices,
                                 const Mac& mac, std::uint32_t address) {
  for (const FoundDevice& device : devices) {
    if (device.info.macAddress != mac && device.info.ipAddress == address)
      return &device;
  }
  return nullptr;
}

}  // namespace

int SetCommand(const Options& options) {
  std::vector<FoundDevice> devices;
  if (!SearchDevices(options.timeout, options.adapter, &devices))
    return EXIT_NETWORK_FAILURE;
  const FoundDevice* target = nullptr;
  for (const FoundDevice& device : devices)
    if (device.info.macAddress == options.mac) target = &device;
  if (!target) {
    Tell(Utf8(MacText(options.mac)) + " did not answer the search");
    return EXIT_NOT_FOUND;
  }
  const CheckedEdit checked = CheckEdit(target->info, options.edit);
  if (!checked.ok) {
    Tell(checked.message + " Nothing was sent.");
    return EXIT_REFUSED;
  }
  if (const FoundDevice* holder =
          AddressHolder(devices, options.mac, checked.body.ipAddress)) {
    Tell(Dotted(checked.body.ipAddress) + " is already the address of " +
         MacString(holder->info) +
         ": choose another address. Nothing was sent.");
    return EXIT_REFUSED;
  }

  SetReport report;
  report.before = *target;
  report.sent = target->info;
  EngineChangeLink link(options.adapter);
  std::wstring message;
  switch (ChangeOneDevice(report.sent, checked.settings, link, &message)) {
    case ChangeResult::Sent:
      break;
    case ChangeResult::Refused:
      Tell(OneLine(message) + " Nothing was sent.");
      return EXIT_REFUSED;
    case ChangeResult::NotSent:
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
