// Settling a wave: where each device was heard, who is blocked for good,
// and how each move ended.
#include "cli/plan/apply_steps.h"

#include <algorithm>
#include <unordered_map>

#include "cli/format/text_formats.h"

namespace cli {
namespace apply_steps {

void Machine::Sighted(const std::vector<FoundDevice>& heard) {
  for (const FoundDevice& found : heard) {
    const std::size_t d = book_.Of(*found.mac, found.place.domain);
    AddressHolder& device = book_[d];
    device.lastSeen = found.settings;
    device.seenInSearch = wave_;
    // Seen there, it holds no other address now.
    Place(d, {found.settings.ipAddress});
    if (!MayMove(d)) EndedAt(d);
  }
}

void Machine::Outcome(const Request& request) {
  Move& m = moves_[request.move];
  const AddressHolder& device = book_[m.device];
  const bool seen = device.seenInSearch == wave_;
  const bool took = seen && *device.lastSeen == request.settings;
  const bool stayed = seen && *device.lastSeen == m.plan.current;
  switch (request.step) {
    case Step::Final:
      if (took) {
        if (m.phase == Phase::Waiting) --waiting_;
        m.phase = Phase::Done;
        m.report.state = MoveState::Confirmed;
        if (m.slot) GiveBack(m.plan.domain, m.plan.proposed, *m.slot);
        Place(m.device, {m.to()});
        return;
      }
      if (m.phase == Phase::Parked && seen &&
          device.lastSeen->ipAddress == m.slot->address) {
        Note(request.move, "it last answered on the temporary address");
      } else if (stayed) {
        Note(request.move, "it kept its settings");
      } else {
        Note(request.move, "it did not answer with the new settings");
      }
      break;
    case Step::Temporary:
      if (took) {
        m.phase = Phase::Parked;
        m.report.state = MoveState::Parked;
        --waiting_;
        Place(m.device, {m.slot->address});
        return;
      }
      Note(request.move, stayed ? "it did not go to the temporary address"
                                : "it did not answer on the temporary address");
      break;
    case Step::Return:
      if (took) {
        GiveBack(m.plan.domain, m.plan.proposed, *m.slot);
        Place(m.device, {m.from()});
        End(request.move, MoveState::Returned);
        EndedAt(m.device);
        return;
      }
      End(request.move, MoveState::Stranded);
      Note(request.move,
           "it did not answer the request to go back to " + Dotted(m.from()));
      EndedAt(m.device);
      return;
  }
  // Not confirmed. Seen, it is where it answered; unseen, it may be where
  // it was or where it was asked to go, and both stay booked.
  End(request.move, MoveState::NotConfirmed);
  EndedAt(m.device);
}

// A device that will not move again: whoever waits for an address it may
// hold is blocked for good.
void Machine::EndedAt(std::size_t device) {
  const AddressHolder& d = book_[device];
  const std::vector<std::uint32_t> may = d.may;
  for (std::uint32_t address : may) {
    const std::size_t waiter = WaiterFor(d.domain, address);
    if (waiter != NO_MOVE && moves_[waiter].device != device)
      Blocked(waiter, d.mac, address);
  }
}

void Machine::Blocked(std::size_t move, const MacAddress& holder,
                      std::uint32_t address) {
  Move& m = moves_[move];
  if (m.phase == Phase::Waiting) {
    if (m.inWave == wave_) return;  // its request is out in this wave
    End(move, MoveState::Withheld);
    if (book_.KindOf(holder) != Holder::Device)
      Replace(move, HeldBy(holder, address) + "; nothing was sent");
    else
      Replace(move, "not sent: it waits for " + Utf8(MacText(holder)) +
                        " to leave " + Dotted(address) + ", which it will not");
    EndedAt(m.device);
    return;
  }
  if (m.phase != Phase::Parked || m.returning) return;
  if (book_.Vacant(m.plan.domain, m.from(), m.device)) {
    m.returning = true;
    book_.Book(m.device, m.from());
    Note(move, "it went back to " + Dotted(m.from()) + ": " +
                   HeldBy(holder, address));
    returns_.push_back(move);
    return;
  }
  End(move, MoveState::Stranded);
  Note(move, "stranded on the temporary address " + Dotted(m.slot->address) +
                 ": " + HeldBy(holder, address) + ", and its own address " +
                 Dotted(m.from()) + " is taken");
  EndedAt(m.device);
}

void Machine::Settle(const std::vector<Request>& wave,
                     const std::vector<FoundDevice>& heard) {
  Sighted(heard);
  for (const Request& request : wave) {
    const Move& m = moves_[request.move];
    if (m.phase == Phase::Ended) continue;  // not sent
    Outcome(request);
  }
  // A device parked in this wave whose way on closed in the same wave (the
  // head of its chain did not move) goes back while its address is vacant.
  for (const Request& request : wave) {
    const Move& m = moves_[request.move];
    if (request.step != Step::Temporary || m.phase != Phase::Parked ||
        m.returning)
      continue;
    const MacAddress holder = HolderOf(m.plan.domain, m.to(), m.device);
    if (holder != book_[m.device].mac && !MayMove(book_.Find(holder)))
      Blocked(request.move, holder, m.to());
  }
}

bool Machine::GiveUpCycles() {
  bool any = false;
  std::vector<Cycle> cycles;
  cycles.swap(cycles_);
  for (Cycle& cycle : stalled_) cycles.push_back(std::move(cycle));
  stalled_.clear();
  for (const Cycle& cycle : cycles) {
    for (std::size_t move : cycle.members) {
      if (moves_[move].phase != Phase::Waiting) continue;
      End(move, MoveState::NoTemporary);
      Replace(move,
              "not sent: its address is taken by a swap or a rotation, and " +
                  cycle.why);
      any = true;
    }
    for (std::size_t move : cycle.members) EndedAt(moves_[move].device);
  }
  return any;
}

// Nothing can move: the cycles that found no temporary address are given
// up, else every move that still waits. False when none waits any more.
bool Machine::GiveUpStalled() {
  if (GiveUpCycles()) return true;
  if (std::none_of(moves_.begin(), moves_.end(), [](const Move& m) {
        return m.phase == Phase::Waiting || m.phase == Phase::Parked;
      }))
    return false;
  for (std::size_t move = 0; move < moves_.size(); ++move) {
    const Move& m = moves_[move];
    if (m.phase == Phase::Waiting) {
      End(move, MoveState::Withheld);
      Replace(move, "not sent: no device ahead of it could move");
    } else if (m.phase == Phase::Parked && !m.returning) {
      Blocked(move, HolderOf(m.plan.domain, m.to(), m.device), m.to());
    }
  }
  return true;
}

void Machine::Stop(const std::string& why, ParkedOnStop parked) {
  for (std::size_t move = 0; move < moves_.size(); ++move) {
    Move& m = moves_[move];
    if (m.phase == Phase::Waiting) {
      End(move, MoveState::Halted);
      Replace(move, "not sent: the apply stopped: " + why);
      continue;
    }
    if (m.phase != Phase::Parked || m.returning) continue;
    if (parked == ParkedOnStop::SendOnOrBack &&
        book_.Vacant(m.plan.domain, m.to(), m.device)) {
      // One more request finishes it: it goes on in the last wave.
      ready_.push_back(move);
    } else if (parked == ParkedOnStop::SendOnOrBack &&
               book_.Vacant(m.plan.domain, m.from(), m.device)) {
      m.returning = true;
      book_.Book(m.device, m.from());
      Note(move, "it went back to " + Dotted(m.from()) +
                     ": the apply stopped: " + why);
      returns_.push_back(move);
    } else {
      End(move, MoveState::Stranded);
      Note(move, "stranded on the temporary address " +
                     Dotted(m.slot->address) + ": the apply stopped: " + why);
    }
  }
}

void Machine::FinalSearch() {
  if (rules_.finalSearchDomains.empty()) return;
  const VerifyOutcome last = link_.Verify(
      {}, rules_.finalSearchDomains, std::chrono::milliseconds(0), nullptr);
  if (last.status != LinkStatus::Done) return;
  lastSearch_ = last.heard;
  std::unordered_map<std::uint64_t, const IpSettings*> heard;
  for (const FoundDevice& found : last.heard)
    heard[MacKey(*found.mac)] = &found.settings;
  for (std::size_t move = 0; move < moves_.size(); ++move) {
    const auto found = heard.find(MacKey(moves_[move].plan.mac));
    MoveReport& report = moves_[move].report;
    report.nowIp.reset();
    if (found == heard.end()) continue;
    report.nowIp = found->second->ipAddress;
    EndWhereHeard(move, *found->second);
  }
}

// The last search decides where a sent device ended, whatever its wave's
// verify saw: one late with its new settings is confirmed, one on its
// temporary address stranded there, one back on its own address returned.
void Machine::EndWhereHeard(std::size_t move, const IpSettings& heard) {
  Move& m = moves_[move];
  MoveReport& report = m.report;
  const MoveState state = report.state;
  if (state != MoveState::NotConfirmed && state != MoveState::Stranded &&
      state != MoveState::Returned)
    return;
  if (heard == m.plan.proposed) {
    report.state = MoveState::Confirmed;
    report.message = m.plan.message;
    if (report.temporary)
      report.message +=
          "; by way of the temporary address " + Dotted(report.temporary);
    report.message += "; it answered with the new settings late";
  } else if (m.slot && heard.ipAddress == m.slot->address &&
             state != MoveState::Stranded) {
    report.state = MoveState::Stranded;
    Note(move, "at the end it answered on the temporary address " +
                   Dotted(m.slot->address));
  } else if (m.slot && heard.ipAddress == m.from() &&
             state == MoveState::Stranded) {
    report.state = MoveState::Returned;
    Note(move, "at the end it answered on its own address " + Dotted(m.from()));
  }
}

}  // namespace apply_steps
}  // namespace cli
