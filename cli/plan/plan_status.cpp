#include "cli/plan/plan_status.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <map>
#include <utility>

#include "cli/device/change_hint.h"
#include "cli/device/dhcp_address.h"
#include "cli/format/fields.h"
#include "cli/format/text_formats.h"
#include "cli/plan/address_holders.h"
#include "core/devices/address_plan.h"
#include "core/validation/change_check.h"

namespace cli {
namespace {

// The message of a numbered row that found no free address up to the
// numbering's last one.
std::string RangeExhaustedText(const Numbering& numbering) {
  return "no free address is left in the range " + Dotted(numbering.start) +
         "-" + Dotted(numbering.last.value_or(numbering.start));
}

// Why a numbered row got no address.
struct Unnumbered {
  std::string why;
  bool pastRange = false;  // the numbering's last address was reached
};

// Gives each row without an ip cell the first address from the start on
// that the checker lets it have in its device's domain, after the last one
// given there; records it in `edits` and books it for the row's device. A
// row whose settings are invalid at that address keeps it for its report
// but uses it up for nobody. A row whose mask the checker refuses is
// invalid at any address: it is shown the one the numbering has reached,
// and no subnet is walked for it (a /0 subnet is all of IPv4). Returns, per
// row, why it got no address (empty when it got one or needed none).
std::vector<Unnumbered> NumberBlankRows(
    const std::vector<PlanRow>& rows,
    const std::function<const FoundDevice*(const Mac&)>& deviceOf,
    const PlanSetting& setting, std::vector<SettingsEdit>* edits,
    AddressHolders* book) {
  std::vector<Unnumbered> problems(rows.size());
  if (!setting.numbering) return problems;
  const Numbering& numbering = *setting.numbering;
  std::map<std::uint32_t, std::uint32_t> next;  // per domain
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SettingsEdit& edit = (*edits)[i];
    const FoundDevice* device = deviceOf(rows[i].mac);
    if (edit.ip || !device || !Changeable(*device)) continue;
    const std::uint32_t domain = device->place.domain;
    if (!edit.mask) edit.mask = numbering.mask;
    if (!edit.gateway) edit.gateway = numbering.gateway;
    IpSettings settings = ProposedSettings(device->settings, edit);
    const std::uint32_t from =
        next.emplace(domain, numbering.start).first->second;
    if (MaskProblem(settings.subnetMask)) {
      edit.ip = from;
      continue;
    }
    // Neither an address some device holds now nor one planned for another
    // row: the numbering never counts on a device leaving.
    const AddressHolders::Domain held(*book, domain,
                                      AddressHolders::Counted::Everyone);
    const AddressPlan plan = PlanAddresses(
        from, settings.subnetMask, {{rows[i].mac, device->settings, settings}},
        ChangeContext{&held, setting.localAddresses, nullptr});
    if (!plan.enough) {
      problems[i].why = "no free address is left from " +
                        Dotted(numbering.start) + " in the subnet " +
                        Dotted(from & settings.subnetMask) + "/" +
                        Dotted(settings.subnetMask);
      continue;
    }
    if (numbering.last && plan.addresses[0] > *numbering.last) {
      problems[i] = {RangeExhaustedText(numbering), true};
      continue;
    }
    edit.ip = settings.ipAddress = plan.addresses[0];
    const std::vector<ChangeProblem> found =
        CheckChange(settings, device->settings, rows[i].mac, ChangeContext{});
    if (!found.empty() && IsInputProblem(found[0].kind)) continue;
    book->Book(book->Find(rows[i].mac), *edit.ip);
    next[domain] = *edit.ip;
  }
  return problems;
}

// The device that only ONVIF names at `ip`, for a plan row of one: its
// address is what tells it.
const FoundDevice* OnvifOnlyAt(const std::vector<FoundDevice>& devices,
                               const std::optional<std::uint32_t>& ip) {
  if (!ip) return nullptr;
  for (const FoundDevice& device : devices)
    if (!Changeable(device) && device.settings.ipAddress == *ip) return &device;
  return nullptr;
}

// The report's status for a row that the checker refuses.
ChangeStatus StatusOf(const ChangeProblem& problem) {
  return IsInputProblem(problem.kind) ||
                 problem.kind == ChangeProblemKind::ZeroAddress
             ? ChangeStatus::Invalid
             : ChangeStatus::Conflict;
}

FieldValue AddressOf(bool known, std::uint32_t address) {
  return known ? FieldValue(Dotted(address)) : std::nullopt;
}

// The report's fields, in the order of its JSON object.
const Field<PlanOutcome> REPORT_FIELDS[] = {
    {"mac", "MAC address", FieldKind::Word,
     [](const PlanOutcome& o) -> FieldValue {
       return o.macGiven ? MacString(o.mac) : std::string();
     }},
    {"status", "Status", FieldKind::Word,
     [](const PlanOutcome& o) -> FieldValue { return StatusWord(o.status); }},
    {"current_ip", "Current IP", FieldKind::Address,
     [](const PlanOutcome& o) { return AddressOf(o.found, o.currentIp); }},
    {"planned_ip", "Planned IP", FieldKind::Address,
     [](const PlanOutcome& o) {
       return AddressOf(o.plannedIp.has_value(), o.plannedIp.value_or(0));
     }},
    {"message", "Message", FieldKind::Text,
     [](const PlanOutcome& o) -> FieldValue { return o.message; }},
    {"adapter", "Adapter", FieldKind::Address,
     [](const PlanOutcome& o) {
       return AddressOf(o.place.adapter != 0, o.place.adapter);
     }},
    {"now_ip", "Now IP", FieldKind::Address,
     [](const PlanOutcome& o) {
       return AddressOf(o.nowIp.has_value(), o.nowIp.value_or(0));
     }},
};

const Fields<PlanOutcome>& ReportFields() {
  static const Fields<PlanOutcome> fields =
      Pick(REPORT_FIELDS, {"mac", "status", "current_ip", "planned_ip",
                           "message", "adapter", "now_ip"});
  return fields;
}

}  // namespace

std::vector<PlanOutcome> JudgePlan(const std::vector<PlanRow>& rows,
                                   const std::vector<FoundDevice>& devices,
                                   const PlanSetting& setting) {
  std::map<Mac, const FoundDevice*> byMac;
  for (const FoundDevice& device : devices)
    if (device.mac) byMac.emplace(*device.mac, &device);
  auto deviceOf = [&byMac](const Mac& mac) -> const FoundDevice* {
    const auto found = byMac.find(mac);
    return found == byMac.end() ? nullptr : found->second;
  };
  auto changeable = [&deviceOf](const Mac& mac) {
    const FoundDevice* device = deviceOf(mac);
    return device && Changeable(*device);
  };

  // The apply's book as the search left it, each row's planned address
  // booked for its device beside its own, as a request sent for it is.
  AddressHolders book(devices);
  std::vector<SettingsEdit> edits;
  for (const PlanRow& row : rows) {
    edits.push_back(row.edit);
    if (row.edit.ip && changeable(row.mac))
      book.Book(book.Find(row.mac), *row.edit.ip);
  }
  const std::vector<Unnumbered> numberingProblems =
      NumberBlankRows(rows, deviceOf, setting, &edits, &book);

  // A device in DHCP mode would ignore the address a row gives it: a row
  // that leaves the mode open makes it fixed, one that asks for DHCP is
  // invalid.
  std::vector<DhcpAddress> dhcp(rows.size(), DhcpAddress::Fine);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!changeable(rows[i].mac)) continue;
    dhcp[i] = JudgeDhcpAddress(deviceOf(rows[i].mac)->settings, edits[i]);
    if (dhcp[i] == DhcpAddress::KeepsDhcp) edits[i].mode = IP_MODE_FIXED;
  }

  // The book as the apply would leave it: a device that moves holds its new
  // address only (none when the numbering used up none for it), and takes
  // an ONVIF answer merged into it along.
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!changeable(rows[i].mac) || !edits[i].ip ||
        *edits[i].ip == deviceOf(rows[i].mac)->settings.ipAddress)
      continue;
    const std::size_t d = book.Find(rows[i].mac);
    const std::vector<std::uint32_t>& may = book[d].may;
    const bool booked = std::count(may.begin(), may.end(), *edits[i].ip) > 0;
    book[d].move = i;
    book.Place(d, booked ? std::vector<std::uint32_t>{*edits[i].ip}
                         : std::vector<std::uint32_t>{});
  }
  for (std::size_t h = 0; h < book.size(); ++h) {
    const std::optional<std::size_t> tie = book[h].tiedTo;
    if (tie && book[*tie].move != NO_MOVE) book.Place(h, {});
  }

  std::vector<PlanOutcome> outcomes;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    PlanOutcome outcome;
    outcome.mac = rows[i].mac;
    outcome.plannedIp = edits[i].ip;
    const FoundDevice* device = rows[i].kind == PlanRowKind::OnvifOnly
                                    ? OnvifOnlyAt(devices, edits[i].ip)
                                    : deviceOf(rows[i].mac);
    if (rows[i].kind == PlanRowKind::OnvifOnly ||
        (device && !Changeable(*device))) {
      // A search's table is a plan: an ONVIF row left as it was is
      // unchanged; one that asks for a change cannot be sent.
      outcome.macGiven = rows[i].macGiven;
      outcome.found = device != nullptr;
      if (device) {
        outcome.currentIp = device->settings.ipAddress;
        outcome.place = device->place;
      }
      // A blank ip cell that the plan numbers asks for an address.
      const bool numbered = setting.numbering && !edits[i].ip;
      const bool untouched =
          device && !numbered &&
          ProposedSettings(device->settings, edits[i]) == device->settings;
      outcome.status =
          untouched ? ChangeStatus::Unchanged : ChangeStatus::Invalid;
      if (!untouched) outcome.message = ONVIF_ONLY_TEXT;
      outcomes.push_back(outcome);
      continue;
    }
    if (!device) {
      outcome.message = "did not answer the search";
      outcomes.push_back(outcome);
      continue;
    }
    const IpSettings& current = device->settings;
    const std::uint32_t domain = device->place.domain;
    outcome.found = true;
    outcome.currentIp = current.ipAddress;
    outcome.place = device->place;
    const IpSettings proposed = ProposedSettings(current, edits[i]);
    // Another device that stays at the address, or one that a row moves
    // there.
    const AddressHolders::Domain staying(book, domain,
                                         AddressHolders::Counted::Staying);
    const AddressHolders::Domain moving(book, domain,
                                        AddressHolders::Counted::Moving);
    std::vector<ChangeProblem> problems;
    if (numberingProblems[i].why.empty() && proposed != current)
      problems =
          CheckChange(proposed, current, rows[i].mac,
                      ChangeContext{&staying, setting.localAddresses, &moving});
    if (!numberingProblems[i].why.empty()) {
      outcome.status = ChangeStatus::Conflict;
      outcome.message = numberingProblems[i].why;
      outcome.pastRange = numberingProblems[i].pastRange;
    } else if (proposed == current) {
      // What the device already has is never refused: an untouched row of
      // a search's own list may show a factory gateway, a port the checks
      // would not take, or an address two devices share.
      outcome.status = ChangeStatus::Unchanged;
    } else if (dhcp[i] == DhcpAddress::AsksDhcp) {
      outcome.status = ChangeStatus::Invalid;
      outcome.message = ASKS_DHCP_TEXT;
    } else if (!problems.empty()) {
      // The problems come in the order of their kinds, the input checks
      // first: the first one says the most.
      outcome.status = StatusOf(problems[0]);
      outcome.message = RefusalText(book.ProblemText(problems[0]), problems[0],
                                    proposed, ChangeSource::PlanRow);
    } else if (device->place.adapter == 0) {
      outcome.status = ChangeStatus::NotSent;
      outcome.message = UnreachableText(*device);
    } else {
      outcome.status = ChangeStatus::Change;
      outcome.proposed = proposed;
      outcome.message =
          "changes " + Joined(ChangedSettings(current, proposed), ", ");
      if (dhcp[i] == DhcpAddress::KeepsDhcp)
        outcome.message += std::string("; ") + MADE_FIXED_TEXT;
    }
    outcomes.push_back(outcome);
  }
  return outcomes;
}

std::size_t RangeShortfall(const std::vector<PlanOutcome>& outcomes) {
  return static_cast<std::size_t>(std::count_if(
      outcomes.begin(), outcomes.end(),
      [](const PlanOutcome& outcome) { return outcome.pastRange; }));
}

bool PlanSendable(const std::vector<PlanOutcome>& outcomes) {
  for (const PlanOutcome& outcome : outcomes) {
    if (outcome.status == ChangeStatus::Invalid ||
        outcome.status == ChangeStatus::Conflict ||
        outcome.status == ChangeStatus::NotSent)
      return false;
  }
  return true;
}

bool PlanSucceeded(const std::vector<PlanOutcome>& outcomes, bool applied) {
  const ChangeStatus done =
      applied ? ChangeStatus::Confirmed : ChangeStatus::Change;
  for (const PlanOutcome& outcome : outcomes) {
    if (outcome.status != done && outcome.status != ChangeStatus::Unchanged)
      return false;
  }
  return true;
}

bool PlanNotSent(const std::vector<PlanOutcome>& outcomes) {
  for (const PlanOutcome& outcome : outcomes)
    if (outcome.status == ChangeStatus::NotSent &&
        outcome.notSent == NotSentCause::Network)
      return true;
  return false;
}

std::string PlanSummary(const std::vector<PlanOutcome>& outcomes) {
  // In the order a reader meets them, one count per printed word.
  const ChangeStatus order[] = {
      ChangeStatus::Change,       ChangeStatus::Unchanged,
      ChangeStatus::Sent,         ChangeStatus::Confirmed,
      ChangeStatus::NotConfirmed, ChangeStatus::Returned,
      ChangeStatus::Stranded,     ChangeStatus::NotSent,
      ChangeStatus::Missing,      ChangeStatus::Invalid,
      ChangeStatus::Conflict};
  std::map<ChangeStatus, std::size_t> counts;
  for (const PlanOutcome& outcome : outcomes) ++counts[outcome.status];
  std::vector<std::string> parts;
  for (ChangeStatus status : order) {
    const auto found = counts.find(status);
    if (found != counts.end())
      parts.push_back(std::to_string(found->second) + " " + StatusWord(status));
  }
  return Joined(parts, ", ");
}

std::string PlanReport(const std::vector<PlanOutcome>& outcomes,
                       Format format) {
  static const Fields<PlanOutcome> columns =
      Pick(REPORT_FIELDS, {"mac", "status", "current_ip", "planned_ip",
                           "adapter", "now_ip", "message"});
  return Collected([&](const TextSink& write) {
    WriteReport(format, ReportFields(), columns, outcomes, write);
  });
}

}  // namespace cli
