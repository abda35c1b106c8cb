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

// The rows that wait for a device that will not leave their address end
// with `status`, naming it; so do the rows that wait for those.
void GiveUpStranded(MoveOrder& order, const Changes& changes,
                    PlanStatus status) {
  for (const MoveOrder::Stranded& stranded : order.GiveUpStranded()) {
    PlanOutcome* row = changes.rows[stranded.move];
    row->status = status;
    row->message = "not sent: it waits for " +
                   Utf8(MacText(stranded.waitedFor)) + " to leave " +
                   Dotted(changes.moves[stranded.move].to) +
                   ", which it will not";
  }
}

enum class Step { Straight, ByTemporary };

struct Wave {
  std::vector<std::size_t> moves;
  Step step = Step::Straight;
};

// The next wave: every change whose address is free now, or else one device
// of a cycle on its way to its temporary address (worked out once, so that
// the dry run and the apply go the same way). A cycle that no temporary
// address can break ends its rows with `stuck`. Empty when nothing more can
// go.
Wave NextWave(MoveOrder& order, const Changes& changes, TakenBooks& books,
              const ApplySetting& setting, PlanStatus stuck) {
  while (true) {
    Wave wave{order.FreeNow(), Step::Straight};
    if (!wave.moves.empty()) return wave;
    const std::optional<std::size_t> cycle = order.CycleToBreak();
    if (!cycle) return wave;
    PlanOutcome* row = changes.rows[*cycle];
    std::string why;
    if (!row->temporaryIp) {
      if (const auto temporary = TemporaryFor(*row, setting, books, &why))
        NoteHop(row, *temporary);
    }
    if (row->temporaryIp) return {{*cycle}, Step::ByTemporary};
    row->status = stuck;
    row->message =
        "not sent: its address is taken by a swap or a rotation, and " + why;
    order.Failed(*cycle);
    GiveUpStranded(order, changes, stuck);
  }
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
  while (true) {
    const Wave wave =
        NextWave(order, changes, books, setting, PlanStatus::Conflict);
    if (wave.moves.empty()) break;
    for (std::size_t k : wave.moves)
      order.Arrived(k, wave.step == Step::ByTemporary
                           ? changes.rows[k]->temporaryIp
                           : changes.moves[k].to);
  }
}

bool ApplyInWaves(std::vector<PlanOutcome>* outcomes,
                  const ApplySetting& setting,
                  std::chrono::milliseconds verifyTimeout) {
  const Changes changes = ChangesOf(outcomes);
  TakenBooks books = BooksOf(*outcomes, setting);
  MoveOrder order(changes.moves, Shown(setting.devices));
  for (int number = 1;; ++number) {
    const Wave wave =
        NextWave(order, changes, books, setting, PlanStatus::Withheld);
    if (wave.moves.empty()) break;
    std::vector<DeviceInfo> bodies;
    std::vector<std::uint32_t> domains;
    for (std::size_t k : wave.moves) {
      bodies.push_back(changes.rows[k]->body);
      if (wave.step == Step::ByTemporary)
        bodies.back().ipAddress = changes.rows[k]->temporaryIp;
      domains.push_back(changes.moves[k].domain);
    }
    std::vector<int> adapters;
    if (!SendPaced(bodies, domains, setting, &adapters)) return false;
    std::vector<DeviceInfo> sent;
    std::vector<std::size_t> sentMoves;
    for (std::size_t n = 0; n < wave.moves.size(); ++n) {
      const std::size_t k = wave.moves[n];
      if (adapters[n] > 0) {
        sent.push_back(bodies[n]);
        sentMoves.push_back(k);
        continue;
      }
      changes.rows[k]->status = PlanStatus::NotSent;
      changes.rows[k]->message = "the request left through no adapter";
      order.Failed(k);
    }
    if (!sent.empty()) {
      Tell("wave " + std::to_string(number) + ": sent " +
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
        if (wave.step == Step::ByTemporary) {
          row->message += "; it did not answer on the temporary address";
        } else if (row->temporaryIp && order.At(k) == row->temporaryIp) {
          row->message += "; it last answered on the temporary address";
        }
        order.Failed(k);
      }
    }
    GiveUpStranded(order, changes, PlanStatus::Withheld);
  }
  return true;
}

}  // namespace cli
