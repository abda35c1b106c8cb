#include <algorithm>

#include "cli/commands/commands.h"
#include "cli/commands/report_output.h"
#include "cli/commands/second_stop.h"
#include "cli/commands/set_report.h"
#include "cli/device/change_hint.h"
#include "cli/device/dhcp_address.h"
#include "cli/device/subnet_reach.h"
#include "cli/format/messages.h"
#include "cli/format/text_formats.h"
#include "cli/network/engine_discovery.h"
#include "cli/network/link_check.h"
#include "cli/network/network.h"
#include "cli/plan/address_holders.h"
#include "core/validation/change_check.h"
#include "platform/stop_signal.h"

namespace cli {
int SetCommand(const Options& options) {
  // A stop request while the change is verified lets the verify end; so it
  // is taken from the start.
  InstallStopHandlers();
  SecondStop second([&options](const std::string& text) {
    Deliver(options, {text, {}});
  });
  second.Acknowledge(
      "stopping: nothing will be sent; Ctrl+C again ends at once");
  EngineDiscovery discovery(options.adapter, SearchProtocols(options));
  const SearchOutcome searched =
      discovery.Search(options.timeout, Remarks::Say);
  if (searched.status != LinkStatus::Done) return EXIT_NETWORK_FAILURE;
  const Findings& found = searched.found;
  const FoundDevice* target = nullptr;
  for (const FoundDevice& device : found.devices)
    if (device.mac == options.mac) target = &device;
  if (!target) {
    Tell(Utf8(MacText(options.mac)) + " did not answer the search");
    return EXIT_NOT_FOUND;
  }
  if (!Changeable(*target)) {
    Tell(MacString(options.mac) + ": " + ONVIF_ONLY_TEXT);
    return EXIT_REFUSED;
  }
  SetReport report;
  // A report that cannot be written leaves the exit status of a refusal.
  bool delivered = true;
  const auto deliver = [&](const SetReport& made) {
    delivered = Deliver(options, {SetReportText(made, options.format), {}});
  };
  report.before = *target;
  const IpSettings proposed = ProposedSettings(target->settings, options.edit);
  // Many devices restart on a change request: with nothing to change, none
  // is sent.
  if (proposed == target->settings) {
    report.status = ChangeStatus::Unchanged;
    deliver(report);
    return delivered ? EXIT_DONE : EXIT_REFUSED;
  }
  const Through through = ChangeThrough(found, *target, options.adapter);
  if (through.empty()) {
    Tell(UnreachableText(*target));
    return EXIT_NETWORK_FAILURE;
  }
  // The device's own broadcast domain is all that counts: the same address
  // may be another device's on another VLAN. This computer's addresses are
  // never a device's, whatever the domain.
  const AddressHolders book(found.devices);
  const AddressHolders::Domain held(book, target->place.domain,
                                    AddressHolders::Counted::Everyone);
  const std::vector<ChangeProblem> problems =
      CheckChange(proposed, target->settings, options.mac,
                  ChangeContext{&held, AddressesOf(LocalAdapters()), nullptr});
  if (!problems.empty()) {
    Tell(Sentence(RefusalText(book.ProblemText(problems[0]), problems[0],
                              proposed, ChangeSource::Options)) +
         " Nothing was sent.");
    return EXIT_REFUSED;
  }
  const std::string dhcp = DhcpRefusalText(
      JudgeDhcpAddress(target->settings, options.edit), MacString(options.mac));
  if (!dhcp.empty()) {
    Tell(dhcp + " Nothing was sent.");
    return EXIT_REFUSED;
  }
  const std::string leaving = LeavingSubnetsWarning(
      MacString(options.mac), target->settings, proposed,
      AdaptersWith(found.domains.AdapterAddresses(target->place.domain),
                   LocalAdapters()));
  if (!leaving.empty()) Tell(leaving);

  // Something that does not answer our protocol (a PC, a recorder, a
  // router) may hold the new address: one that answers ARP for it keeps it.
  if (proposed.ipAddress != target->settings.ipAddress) {
    const ProbeOutcome probed =
        discovery.Probe({proposed.ipAddress}, target->place.domain);
    const Holding holding =
        HoldingAt(probed, 0, [&found](const MacAddress& mac) {
          return std::any_of(
              found.devices.begin(), found.devices.end(),
              [&mac](const FoundDevice& device) { return device.mac == mac; });
        });
    if (holding == Holding::Held) {
      Tell(HostText(proposed.ipAddress, HolderAt(probed, 0)) +
           "; nothing was sent");
      return EXIT_REFUSED;
    }
    if (holding == Holding::NotChecked)
      Tell(Dotted(proposed.ipAddress) +
           " was not checked on the link: " + probed.why);
  }
  // A stop request that came during the search (or the checks) is answered
  // before anything leaves: the device keeps its settings.
  if (StopRequested()) {
    Tell("stopped before sending: " + MacString(options.mac) +
         " keeps its settings");
    report.status = ChangeStatus::NotSent;
    deliver(report);
    return EXIT_STOPPED;
  }
  const ChangeRequest request{options.mac, proposed, target->place.domain};
  report.sent = proposed;
  second.Acknowledge(
      "stopping: the change was sent; it is verified, then the report is "
      "printed; Ctrl+C again ends at once");
  second.Keep(SetReportText(report, options.format));
  const SendOutcome sent = discovery.Send({request}, nullptr);
  if (sent.status != LinkStatus::Done) {
    report.status = ChangeStatus::NotSent;
    deliver(report);
    return EXIT_NETWORK_FAILURE;
  }
  if (sent.adapters[0] == 0) {
    Tell("the change request for " + MacString(options.mac) +
         " left through no adapter: nothing was sent");
    report.status = ChangeStatus::NotSent;
    deliver(report);
    return EXIT_NETWORK_FAILURE;
  }

  int status = EXIT_DONE;
  report.status = ChangeStatus::Sent;
  second.Keep(SetReportText(report, options.format));
  if (options.verify) {
    Tell("sent the change to " + MacString(options.mac) +
         "; waiting for it to answer with the new settings");
    const VerifyOutcome verified = [&] {
      const ProgressWait progress(
          ErrorProgress(), options.verifyTimeout,
          [mac = MacString(options.mac)](std::chrono::seconds left) {
            return "waiting for " + mac + ", " + TimeLeftText(left);
          });
      return discovery.Verify({request}, {request.domain},
                              options.verifyTimeout, nullptr);
    }();
    if (verified.status != LinkStatus::Done) {
      Tell("the change was sent, but the searches that verify it failed");
      deliver(report);
      return EXIT_NETWORK_FAILURE;
    }
    for (const FoundDevice& device : verified.heard) {
      if (device.mac == options.mac && device.settings == proposed) {
        report.answered = true;
        report.after = device;
      }
    }
    report.status =
        report.answered ? ChangeStatus::Confirmed : ChangeStatus::NotConfirmed;
    if (!report.answered) status = EXIT_PROBLEMS;
  }
  deliver(report);
  if (StopRequested()) return EXIT_STOPPED;
  return delivered || status != EXIT_DONE ? status : EXIT_REFUSED;
}

}  // namespace cli
