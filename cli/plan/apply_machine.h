// Carrying out many changes in a safe order. Many devices check that an
// address is free before they take it and keep their old one otherwise, and
// a device that does not check would end up sharing it, so no device is
// ever asked for an address that another device shows, or that a request
// was sent for: an address stays booked until a search shows its device
// elsewhere.
//
// The changes go out in waves, each sent and then verified as a whole:
// - every change whose address is free goes straight;
// - a cycle (a swap, a rotation) is broken by sending one of its devices to
//   a temporary address of its own, so independent cycles break in the same
//   wave;
// - a waiting chain is cut the same way while its subnet has room, so that
//   it takes a few waves rather than one a link;
// - a device parked on a temporary address whose way on is blocked for good
//   (the device it waits for did not move) is sent back to its own address
//   when that is still free, and is reported stranded where it is otherwise.
//
// The machine drives only an ApplyLink, so the dry run (a link on which
// every change takes), the apply (the engine) and the tests (a fake site)
// all go through the same steps.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/device/found_device.h"
#include "cli/network/discovery.h"
#include "cli/plan/temporary_pool.h"

namespace cli {

// One change to make.
struct ApplyMove {
  MacAddress mac{};
  IpSettings current;   // as the search found the device
  IpSettings proposed;  // its new settings
  std::uint32_t domain = 0;
  std::string message;  // what the change does ("changes ip")
  std::size_t row = 0;  // the caller's: the plan row the move comes from
};

// Where a move stands. The first three are under way; the others are ends.
enum class MoveState {
  Pending,  // its request has not left yet
  Sent,     // a request left and has not been verified yet
  Parked,   // verified on a temporary address, waiting for its way on
  Confirmed,
  NotConfirmed,
  NotSent,      // its request left through no adapter
  Withheld,     // not sent: the device whose address it waited for stayed
  Returned,     // back on its own address after waiting on a temporary one
  Stranded,     // left on a temporary address: its own address is taken
  Halted,       // not sent: the apply stopped first
  NoTemporary,  // not sent: a cycle that no temporary address could break
};

struct MoveReport {
  MoveState state = MoveState::Pending;
  // The move's message with what became of it ("changes ip; by way of the
  // temporary address ...", "not sent: it waits for ...").
  std::string message;
  // The first temporary address the device was sent to, 0 for none.
  std::uint32_t temporary = 0;
  // Where the last search heard the device; none when it did not answer.
  // While a request is out (Sent), the address it asks for.
  std::optional<std::uint32_t> nowIp;
};

enum class ApplyEnd { Finished, Stopped, LinkFailed };

struct ApplyResult {
  ApplyEnd end = ApplyEnd::Finished;
  std::vector<MoveReport> moves;  // moves[i] for the i-th move
  int waves = 0;                  // waves of requests sent
  // What the last search heard, when it was made.
  std::optional<std::vector<FoundDevice>> lastSearch;
};

// What a wave sent, as it is verified.
struct WaveNews {
  int wave = 0;
  std::size_t changes = 0;  // requests for a new or a temporary address
  std::size_t returns = 0;  // parked devices sent back to their own address
};

struct ApplyRules {
  // This computer's addresses, which no device is given.
  std::vector<std::uint32_t> localAddresses;
  std::optional<TemporaryRange> temporary;  // --temp
  std::chrono::milliseconds verifyTimeout{20000};
  // Asked before each wave; once true, no new wave is sent, parked devices
  // are sent back where they can be, and the apply ends Stopped.
  std::function<bool()> stopRequested;
  // Told before each wave is verified: its number, how many change
  // requests and how many requests to go back went out. Empty for the dry
  // run.
  std::function<void(const WaveNews&)> announce;
  // Told after each search that verifies a wave.
  std::function<void(const VerifyProgress&)> verifying;
  // Told whenever a move's report changes (a request left, a wave was
  // verified), with every move as it would end if the program ended at
  // once: a second stop request prints these.
  std::function<void(const std::vector<MoveReport>&)> progress;
  // A last search of these domains after the last wave tells where each
  // device ends (none: no last search, as for the dry run).
  std::vector<std::uint32_t> finalSearchDomains;
};

// Runs the moves to their ends. `shown` is every device the plan's search
// listed, the moving ones included.
ApplyResult RunApply(const std::vector<ApplyMove>& moves,
                     const std::vector<FoundDevice>& shown,
                     const ApplyRules& rules, ApplyLink& link);

// The dry run: the same steps on a link on which every request takes and
// every address is free, with nothing sent. A move that ends NoTemporary
// here would end so in the apply as well.
ApplyResult ForecastApply(const std::vector<ApplyMove>& moves,
                          const std::vector<FoundDevice>& shown,
                          const ApplyRules& rules);

}  // namespace cli
