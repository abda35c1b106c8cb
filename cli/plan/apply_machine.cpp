#include "cli/plan/apply_machine.h"

#include <algorithm>
#include <functional>
#include <map>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "cli/device/settings_edit.h"
#include "cli/format/text_formats.h"
#include "cli/network/link_check.h"

namespace cli {
namespace {

using Key = std::uint64_t;

Key KeyOf(std::uint32_t domain, std::uint32_t address) {
  return static_cast<Key>(domain) << 32 | address;
}

enum class Phase {
  Waiting,  // on its own address, its change not yet sent
  Parked,   // on a temporary address, waiting for its own new one
  Done,
  Ended,  // given up; its report says how
};

enum class Step { Final, Temporary, Return };

// What a stop does with the devices parked on temporary addresses.
enum class ParkedOnStop {
  SendOnOrBack,  // on to their new address when vacant, else back home
  Leave,         // the link failed: no more requests go out
};

struct Request {
  std::size_t move;
  Step step;
  IpSettings settings;  // what the device is asked for
};

constexpr std::size_t NO_MOVE = static_cast<std::size_t>(-1);

// Every device the search listed, and any that turned up later.
struct Device {
  MacAddress mac{};
  std::uint32_t domain = 0;
  // The addresses it may hold: booked for it and no other.
  std::vector<std::uint32_t> may;
  std::optional<IpSettings> lastSeen;
  std::size_t seenInWave = 0;  // the wave of its last sighting
  std::size_t move = NO_MOVE;  // its move, if it is to move
};

struct Move {
  ApplyMove plan;
  std::size_t device = 0;
  Phase phase = Phase::Waiting;
  bool returning = false;  // asked to go back to its own address
  std::optional<TemporarySlot> slot;
  MoveReport report;
  // The wave in which the move was last sent, so that a wave takes each
  // move once.
  std::size_t inWave = 0;
  std::uint32_t sentTo = 0;  // the address its last request asked for
  // Where its device was found, and where it is planned to go.
  std::uint32_t from() const { return plan.current.ipAddress; }
  std::uint32_t to() const { return plan.proposed.ipAddress; }
};

// A cycle of moves, each waiting for the next one's address.
struct Cycle {
  std::vector<std::size_t> members;  // in plan order
  std::string why;                   // why no temporary address was found
};

class Machine {
 public:
  Machine(const std::vector<ApplyMove>& moves,
          const std::vector<FoundDevice>& shown, const ApplyRules& rules,
          ApplyLink& link);
  ApplyResult Run();

 private:
  // The books.
  std::size_t DeviceOf(const MacAddress& mac, std::uint32_t domain);
  void Place(std::size_t device, std::vector<std::uint32_t> may);
  void Book(std::size_t device, std::uint32_t address);
  bool Vacant(std::uint32_t domain, std::uint32_t address,
              std::size_t self) const;
  bool Taken(std::uint32_t domain, std::uint32_t address) const;
  MacAddress HolderOf(std::uint32_t domain, std::uint32_t address,
                      std::size_t self) const;
  std::size_t WaiterFor(std::uint32_t domain, std::uint32_t address) const;
  // The link check: a host found is booked as a holder of its address.
  ProbeOutcome CheckOnLink(const std::vector<std::uint32_t>& addresses,
                           std::uint32_t domain);
  void HostAt(std::uint32_t domain, std::uint32_t address,
              const MacAddress& mac);
  // Why a move cannot have `address`: "MAC did not leave A", or "A answers
  // on the network (MAC)" for a host.
  std::string HeldBy(const MacAddress& holder, std::uint32_t address) const;

  // The waves.
  std::vector<Request> Compose();
  void CheckTargets(const std::vector<std::size_t>& ready);
  void BreakCycles(std::vector<Request>* wave,
                   std::vector<std::size_t>* vacating);
  void CutChain(std::size_t from, std::vector<Request>* wave,
                std::vector<std::size_t>* vacating);
  bool ToTemporary(std::size_t move, std::vector<Request>* wave,
                   std::string* why);
  void Settle(const std::vector<Request>& wave,
              const std::vector<FoundDevice>& heard);
  void Sighted(const std::vector<FoundDevice>& heard);
  void Outcome(const Request& request);
  void Blocked(std::size_t move, const MacAddress& holder,
               std::uint32_t address);
  void EndedAt(std::size_t device);
  bool GiveUpCycles();
  bool GiveUpStalled();
  // Sends a wave and verifies it; false when the link failed.
  bool SendWave(const std::vector<Request>& wave, int number);
  void DidNotLeave(const Request& request);
  void LinkFailed(const std::vector<Request>& wave, const SendOutcome& sent);
  void Stop(const std::string& why, ParkedOnStop parked);
  void Sent(const Request& request);
  void FinalSearch();
  void EndWhereHeard(std::size_t move, const IpSettings& heard);

  void GiveBack(std::uint32_t domain, const IpSettings& settings,
                const TemporarySlot& slot);
  void End(std::size_t move, MoveState state);
  void Note(std::size_t move, const std::string& text);
  void Replace(std::size_t move, const std::string& text);
  // Each move's report, in the order of the moves.
  std::vector<MoveReport> Reports() const;
  // The same as each move would end if the program ended at once.
  std::vector<MoveReport> AsIfEndedNow() const;
  void Progress();

  const ApplyRules& rules_;
  ApplyLink& link_;
  std::vector<Move> moves_;
  std::vector<Device> devices_;
  std::unordered_map<std::uint64_t, std::size_t> deviceOfMac_;
  std::unordered_map<Key, std::vector<std::size_t>> bookers_;
  // Every gateway a device of the domain shows or is planned to have: the
  // routers the devices reach the world by, which are nobody's to park on.
  std::unordered_set<Key> gateways_;
  std::unordered_map<Key, std::size_t> targetOf_;
  // What the first search showed: no host can be there unseen, and a
  // device's lingering neighbour entry must not read as one.
  std::unordered_set<Key> shownAtStart_;
  std::unordered_set<Key> checked_;  // planned addresses checked on the link
  std::unordered_set<std::uint64_t> hosts_;  // MACs of the hosts found
  std::vector<std::size_t> ready_;  // moves whose address may have come free
  std::vector<std::size_t> returns_;
  std::vector<Cycle> cycles_;   // to break
  std::vector<Cycle> stalled_;  // found no temporary address
  std::size_t stalledAt_ = 0;   // givenBack_ when they did
  TemporaryPool pool_;
  std::size_t wave_ = 0;
  std::size_t waiting_ = 0;    // moves still Waiting
  std::size_t givenBack_ = 0;  // temporary addresses given back so far
  std::optional<std::vector<FoundDevice>> lastSearch_;
};

Machine::Machine(const std::vector<ApplyMove>& moves,
                 const std::vector<FoundDevice>& shown, const ApplyRules& rules,
                 ApplyLink& link)
    : rules_(rules),
      link_(link),
      pool_(
          rules.temporary, rules.localAddresses,
          [this](const std::vector<std::uint32_t>& addresses,
                 std::uint32_t domain) {
            return CheckOnLink(addresses, domain);
          },
          [this](std::uint32_t domain, std::uint32_t address) {
            return Taken(domain, address);
          }) {
  std::uint32_t unnamed = 0;
  for (const FoundDevice& device : shown) {
    // A device that tells no MAC (an ONVIF device) holds its address all
    // the same: it is booked under a multicast MAC, which no device has.
    const MacAddress mac =
        device.mac ? *device.mac
                   : MacAddress{0xFF,
                                0xFF,
                                static_cast<std::uint8_t>(unnamed >> 24),
                                static_cast<std::uint8_t>(unnamed >> 16),
                                static_cast<std::uint8_t>(unnamed >> 8),
                                static_cast<std::uint8_t>(unnamed)};
    ++unnamed;
    const std::size_t d = DeviceOf(mac, device.place.domain);
    Place(d, {device.settings.ipAddress});
    devices_[d].lastSeen = device.settings;
    gateways_.insert(KeyOf(device.place.domain, device.settings.gateway));
    shownAtStart_.insert(KeyOf(device.place.domain, device.settings.ipAddress));
  }
  for (std::size_t m = 0; m < moves.size(); ++m) {
    Move move;
    move.plan = moves[m];
    move.device = DeviceOf(moves[m].mac, moves[m].domain);
    if (devices_[move.device].may.empty()) Place(move.device, {move.from()});
    devices_[move.device].move = m;
    targetOf_[KeyOf(move.plan.domain, move.to())] = m;
    gateways_.insert(KeyOf(move.plan.domain, move.plan.proposed.gateway));
    move.report.message = move.plan.message;
    moves_.push_back(std::move(move));
    ready_.push_back(m);
  }
  waiting_ = moves_.size();
}

std::size_t Machine::DeviceOf(const MacAddress& mac, std::uint32_t domain) {
  const auto [found, added] =
      deviceOfMac_.emplace(MacKey(mac), devices_.size());
  if (added) {
    devices_.push_back({mac, domain, {}, std::nullopt, 0, NO_MOVE});
  }
  return found->second;
}

void Machine::Book(std::size_t device, std::uint32_t address) {
  Device& d = devices_[device];
  if (std::count(d.may.begin(), d.may.end(), address)) return;
  d.may.push_back(address);
  bookers_[KeyOf(d.domain, address)].push_back(device);
}

void Machine::Place(std::size_t device, std::vector<std::uint32_t> may) {
  Device& d = devices_[device];
  for (std::uint32_t address : d.may) {
    if (std::count(may.begin(), may.end(), address)) continue;
    const Key key = KeyOf(d.domain, address);
    std::vector<std::size_t>& bookers = bookers_[key];
    bookers.erase(std::remove(bookers.begin(), bookers.end(), device),
                  bookers.end());
    if (bookers.empty()) bookers_.erase(key);
    // Whoever waits for it may go now.
    const std::size_t waiter = WaiterFor(d.domain, address);
    if (waiter != NO_MOVE) ready_.push_back(waiter);
  }
  const std::vector<std::uint32_t> kept = d.may;
  d.may.clear();
  for (std::uint32_t address : kept)
    if (std::count(may.begin(), may.end(), address)) d.may.push_back(address);
  for (std::uint32_t address : may) Book(device, address);
}

bool Machine::Vacant(std::uint32_t domain, std::uint32_t address,
                     std::size_t self) const {
  const auto found = bookers_.find(KeyOf(domain, address));
  if (found == bookers_.end()) return true;
  for (std::size_t device : found->second)
    if (device != self) return false;
  return true;
}

MacAddress Machine::HolderOf(std::uint32_t domain, std::uint32_t address,
                             std::size_t self) const {
  const auto found = bookers_.find(KeyOf(domain, address));
  if (found != bookers_.end())
    for (std::size_t device : found->second)
      if (device != self) return devices_[device].mac;
  return devices_[self].mac;
}

bool Machine::Taken(std::uint32_t domain, std::uint32_t address) const {
  const Key key = KeyOf(domain, address);
  // An address given back is free again once its device has left it, so a
  // single --temp address breaks one cycle after another.
  return bookers_.count(key) || targetOf_.count(key) || gateways_.count(key);
}

std::size_t Machine::WaiterFor(std::uint32_t domain,
                               std::uint32_t address) const {
  const auto found = targetOf_.find(KeyOf(domain, address));
  if (found == targetOf_.end()) return NO_MOVE;
  const Move& move = moves_[found->second];
  const bool pending = move.phase == Phase::Waiting ||
                       (move.phase == Phase::Parked && !move.returning);
  return pending ? found->second : NO_MOVE;
}

ProbeOutcome Machine::CheckOnLink(const std::vector<std::uint32_t>& addresses,
                                  std::uint32_t domain) {
  ProbeOutcome all;
  for (std::size_t from = 0; from < addresses.size();
       from += LINK_CHECK_BATCH) {
    const std::vector<std::uint32_t> batch(
        addresses.begin() + static_cast<std::ptrdiff_t>(from),
        addresses.begin() + static_cast<std::ptrdiff_t>(std::min(
                                from + LINK_CHECK_BATCH, addresses.size())));
    const ProbeOutcome probed = link_.Probe(batch, domain);
    if (!probed.why.empty()) all.why = probed.why;
    for (std::size_t i = 0; i < batch.size(); ++i) {
      const MacAddress mac = HolderAt(probed, i);
      const Holding holding =
          HoldingAt(probed, i, [this](const MacAddress& holder) {
            return deviceOfMac_.count(MacKey(holder)) &&
                   !hosts_.count(MacKey(holder));
          });
      if (holding == Holding::Held) HostAt(domain, batch[i], mac);
      all.holdings.push_back(holding);
      all.holders.push_back(mac);
    }
  }
  return all;
}

// A host holds its address for good: whoever waits for it is blocked.
void Machine::HostAt(std::uint32_t domain, std::uint32_t address,
                     const MacAddress& mac) {
  hosts_.insert(MacKey(mac));
  const std::size_t host = DeviceOf(mac, domain);
  Book(host, address);
  EndedAt(host);
}

std::string Machine::HeldBy(const MacAddress& holder,
                            std::uint32_t address) const {
  if (hosts_.count(MacKey(holder))) return HostText(address, holder);
  return Utf8(MacText(holder)) + " did not leave " + Dotted(address);
}

void Machine::GiveBack(std::uint32_t domain, const IpSettings& settings,
                       const TemporarySlot& slot) {
  pool_.GiveBack(domain, settings, slot);
  ++givenBack_;
}

void Machine::End(std::size_t move, MoveState state) {
  Move& m = moves_[move];
  if (m.phase == Phase::Waiting) --waiting_;
  m.phase = Phase::Ended;
  m.returning = false;
  m.report.state = state;
}

void Machine::Note(std::size_t move, const std::string& text) {
  moves_[move].report.message += "; " + text;
}

void Machine::Replace(std::size_t move, const std::string& text) {
  moves_[move].report.message = text;
}

std::vector<MoveReport> Machine::Reports() const {
  std::vector<MoveReport> reports;
  for (const Move& move : moves_) reports.push_back(move.report);
  return reports;
}

std::vector<MoveReport> Machine::AsIfEndedNow() const {
  std::vector<MoveReport> reports;
  for (const Move& move : moves_) {
    MoveReport report = move.report;
    const Device& device = devices_[move.device];
    if (device.lastSeen) report.nowIp = device.lastSeen->ipAddress;
    switch (report.state) {
      case MoveState::Pending:
        report.state = MoveState::Halted;
        report.message = "not sent: the apply stopped at once";
        break;
      case MoveState::Sent:
        report.nowIp = move.sentTo;
        report.message +=
            "; sent to " + Dotted(move.sentTo) + ", not verified yet";
        break;
      case MoveState::Parked:
        report.state = MoveState::Stranded;
        report.message += "; stranded on the temporary address " +
                          Dotted(move.slot->address) +
                          ": the apply stopped at once";
        break;
      default:
        break;
    }
    reports.push_back(std::move(report));
  }
  return reports;
}

void Machine::Progress() {
  if (rules_.progress) rules_.progress(AsIfEndedNow());
}

void Machine::Sent(const Request& request) {
  Move& m = moves_[request.move];
  m.report.state = MoveState::Sent;
  m.sentTo = request.settings.ipAddress;
}

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
  Book(m.device, slot->address);
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
    const Key key = KeyOf(m.plan.domain, m.to());
    if (!pending || shownAtStart_.count(key) || checked_.count(key) ||
        !Vacant(m.plan.domain, m.to(), m.device))
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
  std::vector<Request> wave;
  for (std::size_t move : returns_) {
    moves_[move].inWave = wave_;
    wave.push_back({move, Step::Return, moves_[move].plan.current});
  }
  returns_.clear();
  // Every change whose address is free goes straight.
  std::vector<std::size_t> vacating;
  std::vector<std::size_t> ready;
  ready.swap(ready_);
  std::sort(ready.begin(), ready.end());
  ready.erase(std::unique(ready.begin(), ready.end()), ready.end());
  CheckTargets(ready);
  for (std::size_t move : ready) {
    Move& m = moves_[move];
    const bool pending =
        m.phase == Phase::Waiting || (m.phase == Phase::Parked && !m.returning);
    if (!pending || m.inWave == wave_ ||
        !Vacant(m.plan.domain, m.to(), m.device))
      continue;
    if (m.phase == Phase::Waiting) vacating.push_back(move);
    m.inWave = wave_;
    Book(m.device, m.to());
    wave.push_back({move, Step::Final, m.plan.proposed});
  }
  BreakCycles(&wave, &vacating);
  for (std::size_t i = 0; i < vacating.size(); ++i)
    CutChain(vacating[i], &wave, &vacating);
  return wave;
}

void Machine::Sighted(const std::vector<FoundDevice>& heard) {
  for (const FoundDevice& found : heard) {
    const std::size_t d = DeviceOf(*found.mac, found.place.domain);
    Device& device = devices_[d];
    device.lastSeen = found.settings;
    device.seenInWave = wave_;
    // Seen there, it holds no other address now.
    Place(d, {found.settings.ipAddress});
    const std::size_t move = device.move;
    const bool staying = move == NO_MOVE ||
                         moves_[move].phase == Phase::Ended ||
                         moves_[move].phase == Phase::Done;
    if (staying) EndedAt(d);
  }
}

void Machine::Outcome(const Request& request) {
  Move& m = moves_[request.move];
  Device& device = devices_[m.device];
  const bool seen = device.seenInWave == wave_;
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
  const Device& d = devices_[device];
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
    if (hosts_.count(MacKey(holder)))
      Replace(move, HeldBy(holder, address) + "; nothing was sent");
    else
      Replace(move, "not sent: it waits for " + Utf8(MacText(holder)) +
                        " to leave " + Dotted(address) + ", which it will not");
    EndedAt(m.device);
    return;
  }
  if (m.phase != Phase::Parked || m.returning) return;
  if (Vacant(m.plan.domain, m.from(), m.device)) {
    m.returning = true;
    Book(m.device, m.from());
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
    const Device& there = devices_[deviceOfMac_.at(MacKey(holder))];
    const bool staying = there.move == NO_MOVE ||
                         moves_[there.move].phase == Phase::Ended ||
                         moves_[there.move].phase == Phase::Done;
    if (there.mac != devices_[m.device].mac && staying)
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
        Vacant(m.plan.domain, m.to(), m.device)) {
      // One more request finishes it: it goes on in the last wave.
      ready_.push_back(move);
    } else if (parked == ParkedOnStop::SendOnOrBack &&
               Vacant(m.plan.domain, m.from(), m.device)) {
      m.returning = true;
      Book(m.device, m.from());
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

// A request that left through no adapter: its device stays where it was.
void Machine::DidNotLeave(const Request& request) {
  Move& m = moves_[request.move];
  if (request.step == Step::Return) {
    End(request.move, MoveState::Stranded);
    Note(request.move, "the request to go back left through no adapter");
  } else {
    if (request.step == Step::Temporary) {
      Place(m.device, {m.from()});
      GiveBack(m.plan.domain, m.plan.proposed, *m.slot);
    } else {
      Place(m.device, {m.phase == Phase::Waiting ? m.from() : m.slot->address});
    }
    if (m.phase == Phase::Parked) {
      End(request.move, MoveState::Stranded);
      Note(request.move, "stranded on the temporary address " +
                             Dotted(m.slot->address) +
                             ": its request left through no adapter");
    } else {
      End(request.move, MoveState::NotSent);
      Replace(request.move, "the request left through no adapter");
    }
  }
  EndedAt(m.device);
}

// The link failed while a wave was sent or verified: what went out cannot
// be verified any more; what did not go out stays where it was.
void Machine::LinkFailed(const std::vector<Request>& wave,
                         const SendOutcome& sent) {
  for (std::size_t i = 0; i < wave.size(); ++i) {
    Move& m = moves_[wave[i].move];
    if (m.phase == Phase::Ended) continue;
    if (!(i < sent.adapters.size() && sent.adapters[i] > 0)) {
      m.returning = false;
      continue;
    }
    if (wave[i].step == Step::Return) {
      End(wave[i].move, MoveState::Stranded);
      Note(wave[i].move, "the apply stopped before its way back was verified");
    } else {
      End(wave[i].move, MoveState::NotConfirmed);
      Note(wave[i].move, "the apply stopped before it was verified");
    }
  }
  Stop("the network failed", ParkedOnStop::Leave);
}

bool Machine::SendWave(const std::vector<Request>& wave, int number) {
  std::vector<ChangeRequest> requests;
  std::vector<std::uint32_t> domains;
  for (const Request& request : wave) {
    const ApplyMove& plan = moves_[request.move].plan;
    requests.push_back({plan.mac, request.settings, plan.domain});
    domains.push_back(plan.domain);
  }
  std::sort(domains.begin(), domains.end());
  domains.erase(std::unique(domains.begin(), domains.end()), domains.end());
  const SendOutcome sent = link_.Send(requests);
  std::vector<ChangeRequest> expected;
  WaveNews news;
  news.wave = number;
  for (std::size_t i = 0; i < wave.size(); ++i) {
    if (i < sent.adapters.size() && sent.adapters[i] > 0) {
      expected.push_back(requests[i]);
      Sent(wave[i]);
      ++(wave[i].step == Step::Return ? news.returns : news.changes);
    } else if (sent.status == LinkStatus::Done) {
      DidNotLeave(wave[i]);
    }
  }
  Progress();
  if (rules_.announce && !expected.empty()) rules_.announce(news);
  VerifyOutcome verified;
  if (sent.status == LinkStatus::Done && !expected.empty())
    verified = link_.Verify(expected, domains, rules_.verifyTimeout,
                            [this, number](VerifyProgress progress) {
                              if (!rules_.verifying) return;
                              progress.wave = number;
                              rules_.verifying(progress);
                            });
  if (sent.status != LinkStatus::Done || verified.status != LinkStatus::Done) {
    LinkFailed(wave, sent);
    return false;
  }
  Settle(wave, verified.heard);
  return true;
}

ApplyResult Machine::Run() {
  FindCycles(
      moves_,
      [this](std::size_t move) {
        const Move& m = moves_[move];
        const auto found = bookers_.find(KeyOf(m.plan.domain, m.to()));
        if (found == bookers_.end()) return NO_MOVE;
        for (std::size_t device : found->second) {
          const std::size_t other = devices_[device].move;
          if (device != m.device && other != NO_MOVE) return other;
        }
        return NO_MOVE;
      },
      &cycles_);
  // A move whose address a device holds that is not planned to move waits
  // for ever.
  for (std::size_t d = 0; d < devices_.size(); ++d)
    if (devices_[d].move == NO_MOVE) EndedAt(d);

  ApplyResult result;
  bool stopped = false;
  Progress();
  while (true) {
    if (!stopped && rules_.stopRequested && rules_.stopRequested()) {
      stopped = true;
      Stop("interrupted", ParkedOnStop::SendOnOrBack);
    }
    const std::vector<Request> wave = Compose();
    if (wave.empty()) {
      if (stopped || !GiveUpStalled()) break;
      continue;
    }
    ++result.waves;
    const bool verified = SendWave(wave, result.waves);
    Progress();
    if (!verified) {
      result.end = ApplyEnd::LinkFailed;
      result.moves = Reports();
      return result;
    }
  }
  FinalSearch();
  result.end = stopped ? ApplyEnd::Stopped : ApplyEnd::Finished;
  result.moves = Reports();
  result.lastSearch = lastSearch_;
  if (rules_.finalSearchDomains.empty()) {
    // No last search: where each device was last heard.
    for (std::size_t move = 0; move < moves_.size(); ++move) {
      const Device& device = devices_[moves_[move].device];
      if (device.lastSeen)
        result.moves[move].nowIp = device.lastSeen->ipAddress;
    }
  } else if (!lastSearch_) {
    result.end = ApplyEnd::LinkFailed;
  }
  return result;
}

// The dry run's link: every request leaves and takes, every address is free.
class ForecastLink : public ApplyLink {
 public:
  SendOutcome Send(const std::vector<ChangeRequest>& requests) override {
    return {LinkStatus::Done, std::vector<int>(requests.size(), 1)};
  }
  VerifyOutcome Verify(const std::vector<ChangeRequest>& expected,
                       const std::vector<std::uint32_t>&,
                       std::chrono::milliseconds, const VerifyWatch&) override {
    VerifyOutcome outcome;
    for (const ChangeRequest& request : expected) {
      FoundDevice device;
      device.mac = request.mac;
      device.settings = request.settings;
      device.place.domain = request.domain;
      outcome.heard.push_back(device);
    }
    return outcome;
  }
  ProbeOutcome Probe(const std::vector<std::uint32_t>& addresses,
                     std::uint32_t) override {
    ProbeOutcome outcome;
    outcome.holdings.assign(addresses.size(), Holding::Free);
    outcome.holders.assign(addresses.size(), MacAddress{});
    return outcome;
  }
};

}  // namespace

ApplyResult RunApply(const std::vector<ApplyMove>& moves,
                     const std::vector<FoundDevice>& shown,
                     const ApplyRules& rules, ApplyLink& link) {
  return Machine(moves, shown, rules, link).Run();
}

ApplyResult ForecastApply(const std::vector<ApplyMove>& moves,
                          const std::vector<FoundDevice>& shown,
                          const ApplyRules& rules) {
  ForecastLink link;
  ApplyRules forecast = rules;
  forecast.announce = nullptr;
  forecast.progress = nullptr;
  forecast.verifying = nullptr;
  forecast.stopRequested = nullptr;
  forecast.finalSearchDomains.clear();
  return RunApply(moves, shown, forecast, link);
}

}  // namespace cli
