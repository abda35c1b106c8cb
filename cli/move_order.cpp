#include "cli/move_order.h"

namespace cli {

namespace {

std::uint64_t HolderKey(std::uint32_t domain, std::uint32_t address) {
  return static_cast<std::uint64_t>(domain) << 32 | address;
}

}  // namespace

MoveOrder::MoveOrder(std::vector<cli::Move> moves,
                     const std::vector<Holder>& shown)
    : moves_(std::move(moves)), state_(moves_.size(), State::Pending) {
  for (std::size_t i = 0; i < moves_.size(); ++i) {
    at_.push_back(moves_[i].from);
    moveOf_.emplace(moves_[i].mac, i);
  }
  for (const Holder& holder : shown)
    holders_.emplace(HolderKey(holder.domain, holder.address), holder.mac);
}

std::optional<MacAddress> MoveOrder::Blocker(std::size_t move) const {
  const cli::Move& m = moves_[move];
  if (at_[move] == m.to) return std::nullopt;
  const auto [first, last] = holders_.equal_range(HolderKey(m.domain, m.to));
  for (auto holder = first; holder != last; ++holder)
    if (holder->second != m.mac) return holder->second;
  return std::nullopt;
}

std::optional<std::size_t> MoveOrder::PendingMoveOf(
    const MacAddress& mac) const {
  const auto found = moveOf_.find(mac);
  if (found == moveOf_.end() || !Pending(found->second)) return std::nullopt;
  return found->second;
}

std::vector<std::size_t> MoveOrder::FreeNow() const {
  std::vector<std::size_t> free;
  for (std::size_t i = 0; i < moves_.size(); ++i)
    if (Pending(i) && !Blocker(i)) free.push_back(i);
  return free;
}

std::optional<std::size_t> MoveOrder::CycleToBreak() const {
  for (std::size_t i = 0; i < moves_.size(); ++i) {
    if (!Pending(i)) continue;
    // Follows who waits for whom from i; a path that comes back to i is a
    // cycle that i is part of. At most one step per move.
    std::size_t current = i;
    for (std::size_t steps = 0; steps < moves_.size(); ++steps) {
      const std::optional<MacAddress> blocker = Blocker(current);
      const std::optional<std::size_t> next =
          blocker ? PendingMoveOf(*blocker) : std::nullopt;
      if (!next) break;
      if (*next == i) return i;
      current = *next;
    }
  }
  return std::nullopt;
}

void MoveOrder::Relocate(std::size_t move, std::uint32_t address) {
  const std::uint32_t domain = moves_[move].domain;
  const auto [first, last] = holders_.equal_range(HolderKey(domain, at_[move]));
  for (auto holder = first; holder != last; ++holder) {
    if (holder->second == moves_[move].mac) {
      holders_.erase(holder);
      break;
    }
  }
  holders_.emplace(HolderKey(domain, address), moves_[move].mac);
  at_[move] = address;
}

void MoveOrder::Arrived(std::size_t move, std::uint32_t address) {
  Relocate(move, address);
  if (address == moves_[move].to) state_[move] = State::Done;
}

void MoveOrder::Failed(std::size_t move) { state_[move] = State::Ended; }

std::vector<MoveOrder::Stranded> MoveOrder::GiveUpStranded() {
  std::vector<Stranded> stranded;
  for (bool more = true; more;) {
    more = false;
    for (std::size_t i = 0; i < moves_.size(); ++i) {
      if (!Pending(i)) continue;
      const std::optional<MacAddress> blocker = Blocker(i);
      if (!blocker || PendingMoveOf(*blocker)) continue;
      state_[i] = State::Ended;
      stranded.push_back({i, *blocker});
      more = true;
    }
  }
  return stranded;
}

bool MoveOrder::AnyPending() const {
  for (std::size_t i = 0; i < moves_.size(); ++i)
    if (Pending(i)) return true;
  return false;
}

}  // namespace cli
