// The safe order of an applied plan, played through with devices that
// confirm every change but the ones named to fail.
#include "cli/move_order.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/cli/cli_test_devices.h"

namespace cli {
namespace {

constexpr std::uint32_t TEMPORARY = Ip(10, 77, 0, 250);

std::string Name(std::uint8_t id, std::uint32_t address) {
  return std::to_string(id) + ">" + std::to_string(address & 0xFF);
}

// Each wave as "device>last byte of its new address", waves apart by " | ";
// given-up moves at the end as "device waits for device".
std::string Play(const std::vector<Move>& moves,
                 const std::set<std::uint8_t>& failing) {
  std::vector<Holder> shown;
  for (const Move& move : moves)
    shown.push_back({move.mac, move.from, move.domain});
  MoveOrder order(moves, shown);
  std::string played;
  while (order.AnyPending()) {
    std::vector<std::size_t> wave = order.FreeNow();
    std::uint32_t hop = 0;
    if (wave.empty()) {
      const std::optional<std::size_t> cycle = order.CycleToBreak();
      if (!cycle) break;
      wave = {*cycle};
      hop = TEMPORARY;
    }
    if (!played.empty()) played += " | ";
    for (std::size_t k : wave) {
      const std::uint8_t id = moves[k].mac[5];
      const std::uint32_t to = hop ? hop : moves[k].to;
      played += Name(id, to) + " ";
      if (failing.count(id)) {
        order.Failed(k);
      } else {
        order.Arrived(k, to);
      }
    }
    played.pop_back();
    for (const MoveOrder::Stranded& stranded : order.GiveUpStranded())
      played += "; " + std::to_string(moves[stranded.move].mac[5]) +
                " waits for " + std::to_string(stranded.waitedFor[5]);
  }
  return played;
}

TEST(MoveOrder, NoDeviceIsAskedForAnAddressAnotherStillShows) {
  const std::uint32_t a = Ip(10, 77, 0, 11), b = Ip(10, 77, 0, 12),
                      c = Ip(10, 77, 0, 13), d = Ip(10, 77, 0, 14),
                      free = Ip(10, 77, 0, 30);
  const struct {
    const char* what;
    std::vector<Move> moves;
    std::set<std::uint8_t> failing;
    const char* played;
  } CASES[] = {
      {"a swap",
       {{MacOf(1), a, b}, {MacOf(2), b, a}},
       {},
       "1>250 | 2>11 | 1>12"},
      {"a rotation of three",
       {{MacOf(1), a, b}, {MacOf(2), b, c}, {MacOf(3), c, a}},
       {},
       "1>250 | 3>11 | 2>13 | 1>12"},
      {"a chain and a change that keeps its address",
       {{MacOf(1), a, b}, {MacOf(2), b, free}, {MacOf(4), d, d}},
       {},
       "2>30 4>14 | 1>12"},
      {"a move that is not confirmed holds back those that wait on it",
       {{MacOf(1), a, b}, {MacOf(2), b, c}, {MacOf(3), c, free}},
       {3},
       "3>30; 2 waits for 3; 1 waits for 2"},
      {"a swap whose temporary move fails",
       {{MacOf(1), a, b}, {MacOf(2), b, a}},
       {1},
       "1>250; 2 waits for 1"},
      {"an address held in another broadcast domain is free here",
       {{MacOf(1), a, b, 1}, {MacOf(2), b, c, 2}},
       {},
       "1>12 2>13"},
  };
  for (const auto& c : CASES)
    EXPECT_EQ(Play(c.moves, c.failing), c.played) << c.what;
}

}  // namespace
}  // namespace cli
