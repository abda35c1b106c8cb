// The order in which an applied plan's changes go out. Many devices check
// that an address is free before they take it and keep their old one
// otherwise, so no device is ever asked for an address that another device
// still shows: the changes go out in waves, each holding every change whose
// address is free now, and a cycle (a swap, a rotation) is broken by sending
// one of its devices to a temporary address first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/protocol/datagram.h"

namespace cli {

struct Move {
  MacAddress mac{};
  std::uint32_t from = 0;  // the address the device shows now
  std::uint32_t to = 0;    // the address it is planned to have
  // Its broadcast domain: an address is held or free only within one.
  std::uint32_t domain = 0;
};

// A listed device and the address it shows.
struct Holder {
  MacAddress mac{};
  std::uint32_t address = 0;
  std::uint32_t domain = 0;
};

class MoveOrder {
 public:
  // `moves` are the changes to make, `shown` every listed device (the
  // moving ones included).
  MoveOrder(std::vector<Move> moves, const std::vector<Holder>& shown);

  // The moves whose address is free now (a change that keeps the address
  // always is), in plan order. Empty when nothing is free.
  std::vector<std::size_t> FreeNow() const;
  // When nothing is free but moves wait: the first move, in plan order, that
  // waits in a cycle. Sent to a temporary address first, it frees its own.
  std::optional<std::size_t> CycleToBreak() const;

  // The device of `move` now shows `address`: its planned one (the move is
  // done) or a temporary one (the move still waits for its own).
  void Arrived(std::size_t move, std::uint32_t address);
  // The move ended without the device confirming it: it stays where it was.
  void Failed(std::size_t move);

  // Moves that can never go because the device at their address will not
  // leave it; each is given up, with the MAC it waited for, and the moves
  // waiting on it follow.
  struct Stranded {
    std::size_t move;
    MacAddress waitedFor;
  };
  std::vector<Stranded> GiveUpStranded();

  bool Pending(std::size_t move) const {
    return state_[move] == State::Pending;
  }
  bool AnyPending() const;
  // Where the device of `move` is now.
  std::uint32_t At(std::size_t move) const { return at_[move]; }

 private:
  enum class State { Pending, Done, Ended };
  // The device that holds the address `move` waits for, if any.
  std::optional<MacAddress> Blocker(std::size_t move) const;
  std::optional<std::size_t> PendingMoveOf(const MacAddress& mac) const;
  void Relocate(std::size_t move, std::uint32_t address);

  std::vector<cli::Move> moves_;
  std::map<MacAddress, std::size_t> moveOf_;
  std::vector<State> state_;
  std::vector<std::uint32_t> at_;
  // By domain and address: (domain << 32) | address.
  std::unordered_multimap<std::uint64_t, MacAddress> holders_;
};

}  // namespace cli
