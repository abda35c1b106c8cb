// Choosing a wave: what may go now, and what goes by way of a temporary
// address.
#include "cli/plan/apply_steps.h"

#include <algorithm>
#include <map>

#include "cli/format/text_formats.h"

namespace cli {
namespace apply_steps {

bool Machine::ToTemporary(std::size_t move, std::vector<Request>* wave,
                          std::string* why) {
  Move& m = moves_[move];
  const std::optional<TemporarySlot> slot =
      pool_.Take(m.plan.domain, m.plan.proposed, waiting_, why);
  if (!slot) return false;
  m.slot = slot;
  m.inWave = wave_;
  if (!m.report.temporary) {
    m.report.temporary = slot->address;
    Note(move, "by way of the temporary address " + Dotted(slot->address));
    if (slot->checked == Holding::NotChecked)
      m.report.message += " (not checked on the link: " + slot->why + ")";
  }
  IpSettings parked = m.plan.proposed;
  parked.ipAddress = slot->address;
  book_.Book(m.device, slot->address);
  wave->push_back({move, Step::Temporary, parked});
  return true;
}

// The cycles among the waiting moves, found once: later waves only end or
// break them.
void FindCycles(const std::vector<Move>& moves,
                const std::function<std::size_t(std::size_t)>& next,
                std::vector<Cycle>* cycles) {
  enum Mark : char { Unseen, OnPath, Finished };
  std::vector<char> mark(moves.size(), Unseen);
  for (std::size_t start = 0; start < moves.size(); ++start) {
    std::vector<std::size_t> path;
    std::size_t at = start;
    while (at != NO_MOVE && mark[at] == Unseen) {
      mark[at] = OnPath;
      path.push_back(at);
      at = next(at);
    }
    if (at != NO_MOVE && mark[at] == OnPath) {
      Cycle cycle;
      auto first = std::find(path.begin(), path.end(), at);
      cycle.members.assign(first, path.end());
      std::sort(cycle.members.begin(), cycle.members.end());
      cycles->push_back(std::move(cycle));
    }
    for (std::size_t done : path) mark[done] = Finished;
  }
}

void Machine::BreakCycles(std::vector<Request>* wave,
                          std::vector<std::size_t>* vacating) {
  // Cycles that found no temporary address are asked again only once one
  // has been given back: a full subnet must not cost every wave again.
  if (!stalled_.empty() && stalledAt_ != givenBack_) {
    for (Cycle& cycle : stalled_) cycles_.push_back(std::move(cycle));
    stalled_.clear();
  }
  std::vector<Cycle> fresh;
  fresh.swap(cycles_);
  for (Cycle& cycle : fresh) {
    const bool intact = std::all_of(
        cycle.members.begin(), cycle.members.end(), [this](std::size_t m) {
          return moves_[m].phase == Phase::Waiting && moves_[m].inWave != wave_;
        });
    if (!intact) continue;  // broken already, or ended
    const std::size_t breaker = cycle.members.front();
    if (ToTemporary(breaker, wave, &cycle.why)) {
      vacating->push_back(breaker);
      continue;
    }
    stalledAt_ = givenBack_;
    stalled_.push_back(std::move(cycle));
  }
}

// From a move whose device leaves its address in this wave, up the chain of
// moves waiting for each other: the first waiter goes next wave; the one
// after it would wait two waves more, so it goes to a temporary address now
// while there is room, and so on up the chain.
void Machine::CutChain(std::size_t from, std::vector<Request>* wave,
                       std::vector<std::size_t>* vacating) {
  std::size_t at = from;
  while (true) {
    const Move& leaving = moves_[at];
    const std::size_t next = WaiterFor(leaving.plan.domain, leaving.from());
    if (next == NO_MOVE || moves_[next].phase != Phase::Waiting ||
        moves_[next].inWave == wave_)
      return;
    const std::size_t cut =
        WaiterFor(moves_[next].plan.domain, moves_[next].from());
    if (cut == NO_MOVE || moves_[cut].phase != Phase::Waiting ||
        moves_[cut].inWave == wave_)
      return;
    // Nobody waits for the last one of a chain: it simply goes after next.
    if (WaiterFor(moves_[cut].plan.domain, moves_[cut].from()) == NO_MOVE)
      return;
    std::string why;
    if (!ToTemporary(cut, wave, &why)) return;
    vacating->push_back(cut);
    at = cut;
  }
}

// Just before the wave that would send devices to them, the planned
// addresses that no device showed are checked on the link, so that a host
// that answers only ARP (a PC, a recorder, a router) is found first. Each
// is checked once.
void Machine::CheckTargets(const std::vector<std::size_t>& ready) {
  std::map<std::uint32_t, std::vector<std::size_t>> byDomain;
  for (std::size_t move : ready) {
    const Move& m = moves_[move];
    const bool pending =
        m.phase == Phase::Waiting || (m.phase == Phase::Parked && !m.returning);
    const AddressKey key = KeyOf(m.plan.domain, m.to());
    if (!pending || shownAtStart_.count(key) || checked_.count(key) ||
        !book_.Vacant(m.plan.domain, m.to(), m.device))
      continue;
    checked_.insert(key);
    byDomain[m.plan.domain].push_back(move);
  }
  for (const auto& [domain, moves] : byDomain) {
    std::vector<std::uint32_t> addresses;
    for (std::size_t move : moves) addresses.push_back(moves_[move].to());
    const ProbeOutcome checked = CheckOnLink(addresses, domain);
    for (std::size_t i = 0; i < moves.size(); ++i)
      if (checked.holdings[i] == Holding::NotChecked)
        moves_[moves[i]].report.message +=
            " (" + Dotted(addresses[i]) +
            " not checked on the link: " + checked.why + ")";
  }
}

std::vector<Request> Machine::Compose() {
  ++wave_;
  std::vector<std::size_t> ready;
  ready.swap(ready_);
  std::sort(ready.begin(), ready.end());
  ready.erase(std::unique(ready.begin(), ready.end()), ready.end());
  // First, so that whoever a host blocks goes back in this very wave.
  CheckTargets(ready);
  std::vector<Request> wave;
  for (std::size_t move : returns_) {
    moves_[move].inWave = wave_;
    wave.push_back({move, Step::Return, moves_[move].plan.current});
  }
  returns_.clear();
  // Every change whose address is free goes straight.
  std::vector<std::size_t> vacating;
  for (std::size_t move : ready) {
    Move& m = moves_[move];
    const bool pending =
        m.phase == Phase::Waiting || (m.phase == Phase::Parked && !m.returning);
    if (!pending || m.inWave == wave_ ||
        !book_.Vacant(m.plan.domain, m.to(), m.device))
      continue;
    if (m.phase == Phase::Waiting) vacating.push_back(move);
    m.inWave = wave_;
    book_.Book(m.device, m.to());
    wave.push_back({move, Step::Final, m.plan.proposed});
  }
  BreakCycles(&wave, &vacating);
  for (std::size_t i = 0; i < vacating.size(); ++i)
    CutChain(vacating[i], &wave, &vacating);
  return wave;
}

}  // namespace apply_steps
}  // namespace cli
