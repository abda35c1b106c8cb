#include "cli/plan_apply.h"

#include <map>
#include <set>

#include "cli/messages.h"
#include "cli/move_order.h"
#include "cli/network.h"
#include "cli/text_formats.h"
#include "core/devices/address_plan.h"
#include "core/devices/change_link.h"
#include "core/devices/multi_change.h"

namespace cli {
namespace {

// The change requests of a wave go out this far apart, so that a switch full
// of devices is not flooded.
constexpr PassTiming PLAN_PACING{std::chrono::milliseconds(0),
                                 std::chrono::milliseconds(50)};

struct Changes {
  std::vector<PlanOutcome*> rows;  // the Change rows, in plan order
  std::vector<Move> moves;         // moves[k] is rows[k]'s
};

Changes ChangesOf(std::vector<PlanOutcome>* outcomes) {
  Changes changes;
  for (PlanOutcome& outcome : *outcomes) {
    if (outcome.status != PlanStatus::Change) continue;
    changes.rows.push_back(&outcome);
    changes.moves.push_back({outcome.mac, outcome.currentIp,
                             outcome.body.ipAddress, outcome.place.domain});
  }
  return changes;
}

std::vector<Holder> Shown(const std::vector<FoundDevice>& devices) {
  std::vector<Holder> shown;
  for (const FoundDevice& device : devices)
    shown.push_back(
        {device.info.macAddress, device.info.ipAddress, device.place.domain});
  return shown;
}

// Every address a device shows or a row plans, by broadcast domain: while
// the plan runs, no device moves onto any other, so a temporary address
// outside them stays free throughout.
struct TakenBooks {
  std::map<std::uint32_t, AddressBook> shown;
  std::map<std::uint32_t, AddressBook> planned;
};

TakenBooks BooksOf(const std::vector<PlanOutcome>& outcomes,
                   const ApplySetting& setting) {
  TakenBooks books;
  for (const FoundDevice& device : setting.devices)
    books.shown[device.place.domain].Add(device.info.ipAddress,
                                         device.info.macAddress);
  for (const PlanOutcome& outcome : outcomes)
    if (outcome.plannedIp && outcome.found)
      books.planned[outcome.place.domain].Add(*outcome.plannedIp, outcome.mac);
  return books;
}

// --temp when the checker takes it for the device's new settings, else the
// first free address of its new subnet. The device is judged as one with no
// address and no MAC of its own, so that its own old and planned addresses
// count as taken as well.
std::optional<std::uint32_t> TemporaryFor(const PlanOutcome& row,
                                          const ApplySetting& setting,
                                          TakenBooks& books, std::string* why) {
  IpSettings settings = SettingsFromDeviceInfo(row.body);
  const DeviceInfo nobody;
  const std::uint32_t domain = row.place.domain;
  const ChangeContext context{&books.shown[domain], setting.localAddresses,
                              &books.planned[domain]};
  if (setting.temporary) {
    settings.ipAddress = *setting.temporary;
    const std::vector<ChangeProblem> problems =
        CheckChange(settings, nobody, context);
    if (problems.empty()) return setting.temporary;
    *why = "the temporary address cannot be used: " +
           OneLine(ChangeProblemMessage(problems[0]));
    return std::nullopt;
  }
  const AddressPlan plan =
      PlanAddresses(settings.ipAddress & settings.subnetMask,
                    settings.subnetMask, {{nobody, settings}}, context);
  if (plan.enough) return plan.addresses[0];
  *why = "no temporary address is free in its subnet (name one with --temp)";
  return std::nullopt;
}

void NoteHop(PlanOutcome* row, std::uint32_t temporary) {
  row->temporaryIp = temporary;
  row->message += "; by way of the temporary address " + Dotted(temporary);
}

// Sends each body once, paced, through the adapters of its device's
// domain; `adapters` gets how many adapters each left through. False when
// the engine failed.
bool SendPaced(const std::vector<DeviceInfo>& bodies,
               const std::vector<std::uint32_t>& domains,
               const ApplySetting& setting, std::vector<int>* adapters) {
  adapters->assign(bodies.size(), 0);
  for (std::uint32_t domain :
       std::set<std::uint32_t>(domains.begin(), domains.end())) {
    std::vector<DeviceInfo> ours;
    std::vector<std::size_t> at;
    for (std::size_t n = 0; n < bodies.size(); ++n) {
      if (domains[n] != domain) continue;
      ours.push_back(bodies[n]);
      at.push_back(n);
    }
    EngineChangeLink link(setting.through(domain));
    ChangePass pass(link, ours, PLAN_PACING);
    if (!pass.Start([&](int done, int left) {
          (*adapters)[at[static_cast<std::size_t>(done) - 1]] = left;
        }))
      return false;
    pass.Join();
  }
  return true;
}

// The adapters of every domain in `domains`, for the searches that verify
// a wave.
std::vector<std::uint32_t> ThroughAll(const std::vector<std::uint32_t>& domains,
                                      const ApplySetting& setting) {
  std::set<std::uint32_t> through;
  for (std::uint32_t domain : domains)
    for (std::uint32_t address : setting.through(domain))
      through.insert(address);
  return {through.begin(), through.end()};
}

}  // namespace

void PlanTemporaryHops(std::vector<PlanOutcome>* outcomes,
                       const ApplySetting& setting) {
  const Changes changes = ChangesOf(outcomes);
  TakenBooks books = BooksOf(*outcomes, setting);
  MoveOrder order(changes.moves, Shown(setting.devices));
  while (order.AnyPending()) {
    const std::vector<std::size_t> free = order.FreeNow();
    for (std::size_t k : free) order.Arrived(k, changes.moves[k].to);
    if (!free.empty()) continue;
    const std::optional<std::size_t> hop = order.CycleToBreak();
    if (!hop) break;
    PlanOutcome* row = changes.rows[*hop];
    std::string why;
    if (const auto temporary = TemporaryFor(*row, setting, books, &why)) {
      NoteHop(row, *temporary);
      order.Arrived(*hop, *temporary);
      continue;
    }
    row->status = PlanStatus::Conflict;
    row->message = "its address is taken by a swap or a rotation, and " + why;
    order.Failed(*hop);
    for (const MoveOrder::Stranded& stranded : order.GiveUpStranded()) {
      changes.rows[stranded.move]->status = PlanStatus::Conflict;
      changes.rows[stranded.move]->message =
          "waits for " + Utf8(MacText(stranded.waitedFor)) +
          " to leave its address, which cannot be arranged";
    }
  }
}

bool ApplyInWaves(std::vector<PlanOutcome>* outcomes,
                  const ApplySetting& setting,
                  std::chrono::milliseconds verifyTimeout) {
  const Changes changes = ChangesOf(outcomes);
  TakenBooks books = BooksOf(*outcomes, setting);
  MoveOrder order(changes.moves, Shown(setting.devices));
  for (int wave = 1; order.AnyPending(); ++wave) {
    std::vector<std::size_t> moving = order.FreeNow();
    std::vector<DeviceInfo> bodies;
    if (moving.empty()) {
      const std::optional<std::size_t> hop = order.CycleToBreak();
      if (!hop) break;
      PlanOutcome* row = changes.rows[*hop];
      // Worked out beforehand for the course where every change is
      // confirmed; a failure may have changed the course since.
      std::string why;
      if (!row->temporaryIp) {
        if (const auto temporary = TemporaryFor(*row, setting, books, &why))
          NoteHop(row, *temporary);
      }
      if (!row->temporaryIp) {
        row->status = PlanStatus::Withheld;
        row->message = "not sent: " + why;
        order.Failed(*hop);
        continue;
      }
      moving = {*hop};
      bodies.push_back(row->body);
      bodies.back().ipAddress = row->temporaryIp;
    } else {
      for (std::size_t k : moving) bodies.push_back(changes.rows[k]->body);
    }

    std::vector<std::uint32_t> domains;
    for (std::size_t k : moving) domains.push_back(changes.moves[k].domain);
    std::vector<int> adapters;
    if (!SendPaced(bodies, domains, setting, &adapters)) return false;
    std::vector<DeviceInfo> sent;
    std::vector<std::size_t> sentMoves;
    for (std::size_t n = 0; n < moving.size(); ++n) {
      if (adapters[n] > 0) {
        sent.push_back(bodies[n]);
        sentMoves.push_back(moving[n]);
        continue;
      }
      changes.rows[moving[n]]->status = PlanStatus::NotSent;
      changes.rows[moving[n]]->message = "the request left through no adapter";
      order.Failed(moving[n]);
    }
    if (!sent.empty()) {
      Tell("wave " + std::to_string(wave) + ": sent " +
           std::to_string(sent.size()) +
           (sent.size() == 1 ? " change request" : " change requests") +
           "; waiting for the devices to answer with the new settings");
      const VerifyOutcome verified =
          VerifyChanges(sent, verifyTimeout, ThroughAll(domains, setting));
      if (verified.engineFailed) return false;
      for (std::size_t n = 0; n < sent.size(); ++n) {
        const std::size_t k = sentMoves[n];
        PlanOutcome* row = changes.rows[k];
        if (verified.confirmed[n]) {
          order.Arrived(k, sent[n].ipAddress);
          if (!order.Pending(k)) row->status = PlanStatus::Confirmed;
          continue;
        }
        row->status = PlanStatus::NotConfirmed;
        if (row->temporaryIp)
          row->message += order.At(k) == row->temporaryIp
                              ? "; it last answered on the temporary address"
                              : "; it did not answer on the temporary address";
        order.Failed(k);
      }
    }
    for (const MoveOrder::Stranded& stranded : order.GiveUpStranded()) {
      PlanOutcome* row = changes.rows[stranded.move];
      row->status = PlanStatus::Withheld;
      row->message = "not sent: it waited for " +
                     Utf8(MacText(stranded.waitedFor)) + " to leave " +
                     Dotted(changes.moves[stranded.move].to) +
                     ", which it did not";
    }
  }
  return true;
}

}  // namespace cli
