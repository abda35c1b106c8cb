#include "cli/plan/apply_machine.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "cli/format/text_formats.h"
#include "cli/plan/apply_steps.h"

namespace cli {
namespace apply_steps {
namespace {

using Clock = std::chrono::steady_clock;
// How often the rows kept for a second stop request follow the requests of
// a wave as they leave, 50 ms apart: at least every 200 ms, and for a plan
// whose report takes long to make, so rarely that making it costs a tenth
// of the time.
constexpr std::chrono::milliseconds KEEP_EVERY{200};
constexpr int KEEP_SHARE = 10;

}  // namespace

Machine::Machine(const std::vector<ApplyMove>& moves,
                 const std::vector<FoundDevice>& shown, const ApplyRules& rules,
                 ApplyLink& link)
    : rules_(rules),
      link_(link),
      book_(shown),
      pool_(
          rules.temporary, rules.localAddresses,
          [this](const std::vector<std::uint32_t>& addresses,
                 std::uint32_t domain) {
            return CheckOnLink(addresses, domain);
          },
          [this](std::uint32_t domain, std::uint32_t address) {
            return Taken(domain, address);
          }) {
  for (const FoundDevice& device : shown) {
    gateways_.insert(KeyOf(device.place.domain, device.settings.gateway));
    shownAtStart_.insert(KeyOf(device.place.domain, device.settings.ipAddress));
  }
  for (std::size_t m = 0; m < moves.size(); ++m) {
    Move move;
    move.plan = moves[m];
    move.device = book_.Of(moves[m].mac, moves[m].domain);
    if (book_[move.device].may.empty()) Place(move.device, {move.from()});
    book_[move.device].move = m;
    targetOf_[KeyOf(move.plan.domain, move.to())] = m;
    gateways_.insert(KeyOf(move.plan.domain, move.plan.proposed.gateway));
    move.report.message = move.plan.message;
    moves_.push_back(std::move(move));
    ready_.push_back(m);
  }
  waiting_ = moves_.size();
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
    const AddressHolder& device = book_[move.device];
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
  // Each row is sent as its request leaves; the rows kept for a second stop
  // request follow (a report of many rows costs time to make).
  Clock::time_point next = Clock::now() + KEEP_EVERY;
  const SendOutcome sent =
      link_.Send(requests, [&](std::size_t i, int adapters) {
        if (adapters <= 0) return;
        Sent(wave[i]);
        const Clock::time_point now = Clock::now();
        if (now < next) return;
        Progress();
        const Clock::time_point done = Clock::now();
        next = std::max(now + KEEP_EVERY, done + KEEP_SHARE * (done - now));
      });
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
  HeardOnvif(verified.onvif, domains);
  return true;
}

ApplyResult Machine::Run() {
  FindCycles(
      moves_,
      [this](std::size_t move) {
        const Move& m = moves_[move];
        for (std::size_t device : book_.At(m.plan.domain, m.to())) {
          const std::size_t other = book_[device].move;
          if (device != m.device && other != NO_MOVE) return other;
        }
        return NO_MOVE;
      },
      &cycles_);
  // A move whose address a device holds that is not planned to move waits
  // for ever.
  for (std::size_t d = 0; d < book_.size(); ++d)
    if (!MayMove(d)) EndedAt(d);

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
      const AddressHolder& device = book_[moves_[move].device];
      if (device.lastSeen)
        result.moves[move].nowIp = device.lastSeen->ipAddress;
    }
  } else if (!lastSearch_) {
    result.end = ApplyEnd::LinkFailed;
  }
  return result;
}

}  // namespace apply_steps

namespace {

// The dry run's link: every request leaves and takes, every address is free
// but where an ONVIF answer was heard; an answer merged with a device of
// ours goes where that device goes.
class ForecastLink : public ApplyLink {
 public:
  explicit ForecastLink(std::vector<OnvifHolder> onvif)
      : onvif_(std::move(onvif)) {}
  SendOutcome Send(const std::vector<ChangeRequest>& requests,
                   const SendWatch&) override {
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
      for (OnvifHolder& holder : onvif_)
        if (holder.ours == request.mac && holder.domain == request.domain)
          holder.address = request.settings.ipAddress;
    }
    outcome.onvif = onvif_;
    return outcome;
  }
  ProbeOutcome Probe(const std::vector<std::uint32_t>& addresses,
                     std::uint32_t) override {
    ProbeOutcome outcome;
    outcome.holdings.assign(addresses.size(), Holding::Free);
    outcome.holders.assign(addresses.size(), MacAddress{});
    return outcome;
  }

 private:
  std::vector<OnvifHolder> onvif_;
};

}  // namespace

ApplyResult RunApply(const std::vector<ApplyMove>& moves,
                     const std::vector<FoundDevice>& shown,
                     const ApplyRules& rules, ApplyLink& link) {
  return apply_steps::Machine(moves, shown, rules, link).Run();
}

ApplyResult ForecastApply(const std::vector<ApplyMove>& moves,
                          const std::vector<FoundDevice>& shown,
                          const ApplyRules& rules) {
  ForecastLink link(OnvifHolders(shown));
  ApplyRules forecast = rules;
  forecast.announce = nullptr;
  forecast.progress = nullptr;
  forecast.verifying = nullptr;
  forecast.stopRequested = nullptr;
  forecast.finalSearchDomains.clear();
  return RunApply(moves, shown, forecast, link);
}

}  // namespace cli
