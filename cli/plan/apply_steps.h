// The inside of the apply machine (apply_machine.h), shared by the files
// that hold its steps; nothing outside cli/plan includes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "cli/device/onvif_holders.h"
#include "cli/plan/address_holders.h"
#include "cli/plan/apply_machine.h"

namespace cli {
namespace apply_steps {

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

// The apply's state and its steps. Each wave is chosen (apply_choose.cpp:
// what may go now, cycles broken and chains cut through temporary
// addresses, planned addresses checked on the link), sent and verified
// (apply_machine.cpp), and settled (apply_settle.cpp: where each device was
// heard, who is blocked for good, how each move ended). Who holds which
// address is kept in one book (address_holders.h).
class Machine {
 public:
  Machine(const std::vector<ApplyMove>& moves,
          const std::vector<FoundDevice>& shown, const ApplyRules& rules,
          ApplyLink& link);
  ApplyResult Run();

 private:
  // The book (apply_book.cpp, address_holders.h) holds a device shown at
  // an address, one asked for it and not yet seen to leave, one staying
  // there on a temporary address, a host that the link check found there,
  // and an ONVIF answer heard there (apply_onvif.cpp). A device placed
  // elsewhere lets whoever waits for its addresses go.
  void Place(std::size_t device, const std::vector<std::uint32_t>& may);
  // Held, planned for a move, or a gateway: no temporary address.
  bool Taken(std::uint32_t domain, std::uint32_t address) const;
  // A holder of `address` other than `self`; `self`'s MAC when none.
  MacAddress HolderOf(std::uint32_t domain, std::uint32_t address,
                      std::size_t self) const;
  // The move still to go to `address`, else NO_MOVE.
  std::size_t WaiterFor(std::uint32_t domain, std::uint32_t address) const;
  // The link check, in batches: a host found is booked as the holder of
  // its address.
  ProbeOutcome CheckOnLink(const std::vector<std::uint32_t>& addresses,
                           std::uint32_t domain);
  void HostAt(std::uint32_t domain, std::uint32_t address,
              const MacAddress& mac);
  // Why a move cannot have `address`: "MAC did not leave A", "A answers on
  // the network (MAC)" for a host, or "A is already the address of LABEL"
  // for an ONVIF answer.
  std::string HeldBy(const MacAddress& holder, std::uint32_t address) const;
  void GiveBack(std::uint32_t domain, const IpSettings& settings,
                const TemporarySlot& slot);

  // The ONVIF answers (apply_onvif.cpp): where the latest verifying search of
  // `domains` heard them; an answer of those domains not heard any more holds
  // nothing.
  void HeardOnvif(const std::vector<OnvifHolder>& heard,
                  const std::vector<std::uint32_t>& domains);
  // Whether the device's addresses may still come free: a device of ours
  // still to move, or an answer tied to one.
  bool MayMove(std::size_t device) const;

  // Choosing a wave (apply_choose.cpp).
  std::vector<Request> Compose();
  void CheckTargets(const std::vector<std::size_t>& ready);
  void BreakCycles(std::vector<Request>* wave,
                   std::vector<std::size_t>* vacating);
  void CutChain(std::size_t from, std::vector<Request>* wave,
                std::vector<std::size_t>* vacating);
  bool ToTemporary(std::size_t move, std::vector<Request>* wave,
                   std::string* why);

  // Sending and verifying it (apply_machine.cpp); false when the link
  // failed.
  bool SendWave(const std::vector<Request>& wave, int number);
  void Sent(const Request& request);
  void DidNotLeave(const Request& request);
  void LinkFailed(const std::vector<Request>& wave, const SendOutcome& sent);

  // Settling it (apply_settle.cpp).
  void Settle(const std::vector<Request>& wave,
              const std::vector<FoundDevice>& heard);
  void Sighted(const std::vector<FoundDevice>& heard);
  void Outcome(const Request& request);
  void EndedAt(std::size_t device);
  void Blocked(std::size_t move, const MacAddress& holder,
               std::uint32_t address);
  bool GiveUpCycles();
  bool GiveUpStalled();
  void Stop(const std::string& why, ParkedOnStop parked);
  void FinalSearch();
  void EndWhereHeard(std::size_t move, const IpSettings& heard);

  // The reports (apply_machine.cpp).
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
  AddressHolders book_;
  // Every gateway a device of the domain shows or is planned to have: the
  // routers the devices reach the world by, which are nobody's to park on.
  std::unordered_set<AddressKey> gateways_;
  std::unordered_map<AddressKey, std::size_t> targetOf_;
  // What the first search showed: no host can be there unseen, and a
  // device's lingering neighbour entry must not read as one.
  std::unordered_set<AddressKey> shownAtStart_;
  std::unordered_set<AddressKey>
      checked_;                     // planned addresses checked on the link
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

// The cycles among the waiting moves, found once: later waves only end or
// break them. `next` is the move whose device holds a move's new address.
void FindCycles(const std::vector<Move>& moves,
                const std::function<std::size_t(std::size_t)>& next,
                std::vector<Cycle>* cycles);

}  // namespace apply_steps
}  // namespace cli
