// The apply played as a machine against a fake site: random plans of swaps,
// rotations, chains and shared targets in two broadcast domains, with
// devices that fail in every way and a link that fails or is stopped, and
// the invariants checked after every step and at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <tuple>

#include "cli/plan/plan_apply.h"
#include "tests/cli/cli_test_devices.h"
#include "tests/cli/fake_site.h"

namespace cli {
namespace {

constexpr std::uint32_t DOMAIN_B = 5;

// The second domain is on 10.100.3.0/24, or on the first one's subnet
// (two VLANs numbered alike).
std::uint32_t SubnetOf(bool second, bool sameSubnet) {
  return second && !sameSubnet ? Ip(10, 100, 3, 0) : Ip(10, 77, 0, 0);
}

FoundDevice InDomain(std::uint8_t id, std::uint32_t host, bool second,
                     bool sameSubnet) {
  const std::uint32_t subnet = SubnetOf(second, sameSubnet);
  FoundDevice device = Device(id, subnet | host);
  if (!second) return device;
  device.settings.gateway = subnet | 1;
  device.place = {DOMAIN_B, Ip(10, 100, 3, 1), Ip(10, 100, 3, 1)};
  return device;
}

struct Played {
  std::vector<PlanOutcome> outcomes;
  ApplyEnd end = ApplyEnd::Finished;
  bool sent = false;
  // The rows kept for a second stop request, each time they changed.
  std::vector<std::vector<PlanOutcome>> kept;
  // What each search that verified a wave told.
  std::vector<VerifyProgress> verifying;
};

// The rows kept for a second stop request are true at that moment: a row
// whose request went out is never change or not-sent, a sent one names the
// address its last request asked for, and a confirmed or returned one is
// where it says.
void CheckLive(const FakeSite& site, const std::vector<PlanOutcome>& rows) {
  for (const PlanOutcome& row : rows) {
    if (!row.found) continue;
    const std::vector<IpSettings> requests = site.Requests(row.mac);
    SCOPED_TRACE("live row " + MacString(row.mac) + " " +
                 StatusWord(row.status) + " " + row.message);
    EXPECT_NE(row.status, ChangeStatus::Change);
    const bool unsent = row.status == ChangeStatus::NotSent ||
                        row.status == ChangeStatus::Unchanged;
    ASSERT_EQ(requests.empty(), unsent);
    if (row.status == ChangeStatus::Sent) {
      EXPECT_EQ(row.nowIp, requests.back().ipAddress);
    }
    const std::optional<IpSettings> now = site.Now(row.mac);
    if (row.status == ChangeStatus::Confirmed && now) {
      EXPECT_EQ(*now, row.proposed);
    }
    if (row.status == ChangeStatus::Returned && now) {
      EXPECT_EQ(now->ipAddress, row.currentIp);
    }
  }
}

Played Play(FakeSite& site, const std::vector<FoundDevice>& devices,
            const std::vector<PlanRow>& rows, int stopAfterWave = 0,
            std::optional<TemporaryRange> temporary = std::nullopt) {
  Played played;
  const PlanSetting setting{{Ip(10, 77, 0, 1), Ip(10, 100, 3, 1)}, {}};
  played.outcomes = JudgePlan(rows, devices, setting);
  ApplySetting apply{devices, setting.localAddresses, temporary};
  std::vector<PlanOutcome> forecast = played.outcomes;
  ForecastPlan(&forecast, apply);
  if (!PlanSendable(forecast)) {
    played.outcomes = forecast;
    return played;
  }
  played.sent = true;
  ApplyCalls calls;
  calls.verifyTimeout = std::chrono::milliseconds(4000);
  calls.stopRequested = [&] {
    return stopAfterWave && site.Sends() >= stopAfterWave;
  };
  calls.progress = [&](const std::vector<PlanOutcome>& rows) {
    ASSERT_EQ(site.Broken(), "");
    CheckLive(site, rows);
    played.kept.push_back(rows);
  };
  calls.verifying = [&](const VerifyProgress& progress) {
    played.verifying.push_back(progress);
  };
  played.end = ApplyPlan(&played.outcomes, apply, site, calls);
  return played;
}

// Each row's status and now_ip: "confirmed 10.77.0.12".
std::vector<std::string> Ends(const std::vector<PlanOutcome>& rows) {
  std::vector<std::string> ends;
  for (const PlanOutcome& row : rows)
    ends.push_back(std::string(StatusWord(row.status)) + " " +
                   Dotted(row.nowIp.value_or(0)));
  return ends;
}

// Every row says where its device ends, and the site agrees.
void CheckReport(const FakeSite& site, const Played& played) {
  for (const PlanOutcome& row : played.outcomes) {
    if (!row.found) continue;
    SCOPED_TRACE("row " + MacString(row.mac) + " " + StatusWord(row.status) +
                 " " + row.message);
    const std::optional<IpSettings> now = site.Now(row.mac);
    const bool requested = !site.Requests(row.mac).empty();
    if (!played.sent) {
      EXPECT_EQ(row.nowIp, row.currentIp);  // a dry run's: where it is
    } else if (played.end != ApplyEnd::LinkFailed) {
      ASSERT_EQ(row.nowIp.has_value(), site.LastHeard(row.mac));
      if (row.nowIp) {
        EXPECT_EQ(*row.nowIp, now->ipAddress);
      }
    }
    switch (row.status) {
      case ChangeStatus::Confirmed:
        ASSERT_TRUE(now);
        EXPECT_EQ(*now, row.proposed);
        break;
      case ChangeStatus::Returned:
        ASSERT_TRUE(now);
        EXPECT_EQ(now->ipAddress, row.currentIp);
        break;
      case ChangeStatus::NotSent:
      case ChangeStatus::Unchanged:
      case ChangeStatus::Change:
      case ChangeStatus::Conflict:
      case ChangeStatus::Invalid:
      case ChangeStatus::Missing:
        // A row whose request went out is never not-sent.
        EXPECT_FALSE(requested);
        break;
      case ChangeStatus::NotConfirmed:
      case ChangeStatus::Stranded:
      case ChangeStatus::Sent:
        EXPECT_TRUE(requested);
        break;
    }
    // Where the last search heard a sent device decides its end: with its
    // new settings (late or not) it is confirmed, on a temporary address
    // stranded.
    if (!requested || !played.sent || played.end == ApplyEnd::LinkFailed ||
        !site.LastHeard(row.mac))
      continue;
    bool onTemporary = false;
    for (const IpSettings& asked : site.Requests(row.mac))
      onTemporary = onTemporary || (asked.ipAddress == now->ipAddress &&
                                    asked.ipAddress != row.currentIp &&
                                    asked.ipAddress != row.proposed.ipAddress);
    EXPECT_EQ(*now == row.proposed, row.status == ChangeStatus::Confirmed);
    EXPECT_EQ(onTemporary, row.status == ChangeStatus::Stranded);
  }
}

TEST(ApplyMachine, RandomPlansKeepEveryInvariant) {
  const Behaviour behaviours[] = {
      Behaviour::Confirms, Behaviour::Ignores,     Behaviour::RefusesInUse,
      Behaviour::Late,     Behaviour::SlowOnce,    Behaviour::Vanishes,
      Behaviour::Quiet,    Behaviour::FailsReturn, Behaviour::Unreachable};
  for (unsigned siteNumber = 1; siteNumber <= 400; ++siteNumber) {
    SCOPED_TRACE("site " + std::to_string(siteNumber));
    std::mt19937 random(siteNumber);
    auto pick = [&](int n) { return static_cast<int>(random() % n); };
    FakeSite site;
    std::vector<FoundDevice> devices;
    std::vector<PlanRow> rows;
    std::uint8_t id = 1;
    // Now and then the devices sit near the top of the subnet, where the
    // temporary addresses come from, and both domains share one subnet.
    const std::uint32_t lowest = pick(3) ? 10 : 220;
    const bool sameSubnet = pick(3) == 0;
    for (bool second : {false, true}) {
      const std::uint32_t subnet = SubnetOf(second, sameSubnet);
      const std::uint32_t domain = second ? DOMAIN_B : 2;
      std::vector<std::uint32_t> hosts;
      for (std::uint32_t host = lowest; host < lowest + 30; ++host)
        hosts.push_back(host);
      std::shuffle(hosts.begin(), hosts.end(), random);
      const int count = 2 + pick(12);
      std::vector<std::uint32_t> taken(hosts.begin(), hosts.begin() + count);
      // Some devices stay out of the plan; the others take each other's
      // addresses (swaps, rotations, chains) or free ones, and now and then
      // two rows plan one address.
      std::vector<bool> planned;
      std::vector<std::uint32_t> targets;
      for (int i = 0; i < count; ++i) {
        planned.push_back(pick(6) != 0);
        if (planned.back()) targets.push_back(taken[i]);
      }
      std::shuffle(targets.begin(), targets.end(), random);
      std::size_t next = 0;
      for (int i = 0; i < count; ++i) {
        const FoundDevice device = InDomain(id++, taken[i], second, sameSubnet);
        devices.push_back(device);
        // Most devices confirm; now and then one fails in its own way.
        const Behaviour behaviour =
            pick(4) ? Behaviour::Confirms : behaviours[pick(9)];
        site.AddDevice(device, behaviour);
        if (!planned[i]) continue;
        std::uint32_t target = targets[next++];
        if (pick(4) == 0) target = hosts[count + pick(8)];
        if (pick(40) == 0) target = targets[0];
        PlanRow row;
        row.line = static_cast<int>(rows.size()) + 2;
        row.mac = *device.mac;
        row.edit.ip = subnet | target;
        rows.push_back(row);
      }
      // Hosts that answer only ARP: on the top address, and now and then
      // on a free address a row may plan.
      if (pick(3) == 0) site.AddArpHost(domain, subnet | 254);
      if (pick(3) == 0)
        site.AddArpHost(domain, subnet | hosts[count + pick(8)]);
      // A device the plan's search missed, which answers later.
      if (pick(4) == 0)
        site.AddDevice(
            InDomain(id++, hosts[count + pick(8)], second, sameSubnet),
            Behaviour::Confirms);
    }
    std::shuffle(rows.begin(), rows.end(), random);
    const int failFrom = pick(6) == 0 ? 1 + pick(8) : 0;
    if (failFrom) site.FailFromCall(failFrom);
    const int stopAfter = pick(8) == 0 ? 1 + pick(3) : 0;

    const Played played = Play(site, devices, rows, stopAfter);
    ASSERT_EQ(site.Broken(), "");
    EXPECT_EQ(site.NewDuplicates(), "");
    if (!played.sent) {
      EXPECT_EQ(site.Sends(), 0);
    }
    std::size_t moves = 0;
    for (const PlanOutcome& row : played.outcomes)
      moves += !site.Requests(row.mac).empty() ||
               row.status == ChangeStatus::NotSent;
    EXPECT_LE(site.Sends(), static_cast<int>(2 * moves + 2));
    CheckReport(site, played);
    if (HasFailure()) return;
  }
}

// Devices 1..count on 10.77.0.11 up, each in the site with `behaviour`.
std::vector<FoundDevice> InRow(FakeSite& site, std::uint8_t count,
                               Behaviour behaviour) {
  std::vector<FoundDevice> devices;
  for (std::uint8_t id = 1; id <= count; ++id) {
    devices.push_back(Device(id, Ip(10, 77, 0, 10 + id)));
    site.AddDevice(devices.back(), behaviour);
  }
  return devices;
}

PlanRow MoveTo(std::uint8_t id, std::uint32_t ip) {
  PlanRow row;
  row.mac = MacOf(id);
  row.edit.ip = ip;
  return row;
}

// Two swaps; device 2 never takes a change, and every device checks that an
// address is free before it takes it; something that answers only ARP sits
// on the top address, where temporary addresses come from.
TEST(ApplyMachine, ADeviceParkedByAFailedSwapGoesBack) {
  FakeSite site;
  std::vector<FoundDevice> devices;
  for (std::uint8_t id = 1; id <= 4; ++id) {
    devices.push_back(Device(id, Ip(10, 77, 0, 10 + id)));
    site.AddDevice(devices.back(),
                   id == 2 ? Behaviour::Ignores : Behaviour::RefusesInUse);
  }
  site.AddArpHost(2, Ip(10, 77, 0, 254));
  const Played played =
      Play(site, devices,
           {MoveTo(1, Ip(10, 77, 0, 12)), MoveTo(2, Ip(10, 77, 0, 11)),
            MoveTo(3, Ip(10, 77, 0, 14)), MoveTo(4, Ip(10, 77, 0, 13))});
  EXPECT_EQ(site.Broken(), "");
  EXPECT_EQ(Ends(played.outcomes),
            (std::vector<std::string>{
                "returned 10.77.0.11", "not-confirmed 10.77.0.12",
                "confirmed 10.77.0.14", "confirmed 10.77.0.13"}));
  // Each swap broke through a temporary address of its own, below the one
  // the ARP host holds.
  EXPECT_NE(played.outcomes[0].message.find("10.77.0.253"), std::string::npos)
      << played.outcomes[0].message;
  EXPECT_NE(played.outcomes[2].message.find("10.77.0.252"), std::string::npos)
      << played.outcomes[2].message;
  // Wave 2's first verifying search: 4 answered, 2 is waited for.
  ASSERT_GE(played.verifying.size(), 2u);
  const VerifyProgress& second = played.verifying[1];
  EXPECT_EQ(std::make_tuple(second.wave, second.answered, second.awaited,
                            second.waitingFor, second.left.count()),
            std::make_tuple(2, std::size_t{1}, std::size_t{2},
                            std::optional<MacAddress>(MacOf(2)), 4000L));
}

// Every planned address that no device showed is checked on the link just
// before a device is sent there: a host that answers only ARP keeps it, a
// neighbour entry a listed device left behind does not, and an address that
// cannot be checked is said to be so.
TEST(ApplyMachine, PlannedAddressesAreCheckedOnTheLink) {
  enum class Fault { Host, StaleEntry, ProbeFails };
  struct Case {
    Fault fault;
    std::vector<std::string> ends;
    std::string message;  // in the first row's
  } const cases[] = {
      {Fault::Host,
       {"not-sent 10.77.0.11", "not-sent 10.77.0.12", "unchanged 10.77.0.13"},
       "10.77.0.50 answers on the network (52:32:2B:02:00:32); nothing was "
       "sent"},
      {Fault::StaleEntry,
       {"confirmed 10.77.0.50", "confirmed 10.77.0.11", "unchanged 10.77.0.13"},
       "changes ip"},
      {Fault::ProbeFails,
       {"confirmed 10.77.0.50", "confirmed 10.77.0.11", "unchanged 10.77.0.13"},
       "(10.77.0.50 not checked on the link: the neighbour table could not "
       "be read)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    FakeSite site;
    const std::vector<FoundDevice> devices =
        InRow(site, 3, Behaviour::RefusesInUse);
    if (c.fault == Fault::Host) site.AddArpHost(2, Ip(10, 77, 0, 50));
    if (c.fault == Fault::StaleEntry)
      site.AddStaleEntry(2, Ip(10, 77, 0, 50), MacOf(3));
    if (c.fault == Fault::ProbeFails) site.ProbeFails();
    const Played played =
        Play(site, devices,
             {MoveTo(1, Ip(10, 77, 0, 50)), MoveTo(2, Ip(10, 77, 0, 11)),
              MoveTo(3, Ip(10, 77, 0, 13))});
    EXPECT_EQ(Ends(played.outcomes), c.ends);
    EXPECT_NE(played.outcomes[0].message.find(c.message), std::string::npos)
        << played.outcomes[0].message;
    EXPECT_EQ(played.outcomes[0].notSent, NotSentCause::HeldBack);
    EXPECT_EQ(site.Probed(), 1);
  }
}

// Ends decided by where each device is: a device cut from a chain whose
// head did not move in the same wave goes back while its own address is
// vacant; a device of another domain on the same subnet holds nothing here.
TEST(ApplyMachine, EachEndIsWhereTheDeviceIs) {
  struct Case {
    const char* name;
    std::vector<std::uint32_t> from, to;  // hosts of 10.77.0.0/24
    Behaviour first;                      // device 1's
    std::uint32_t secondDomain;           // device 2's
    std::vector<std::string> ends;
  } const cases[] = {
      {"a chain whose head ignores its change",
       {11, 12, 13, 14},
       {50, 11, 12, 13},
       Behaviour::Ignores,
       2,
       {"not-confirmed 10.77.0.11", "not-sent 10.77.0.12",
        "returned 10.77.0.13", "not-sent 10.77.0.14"}},
      {"a head whose request leaves through no adapter",
       {11, 12},
       {50, 11},
       Behaviour::Unreachable,
       2,
       {"not-sent 10.77.0.11", "not-sent 10.77.0.12"}},
      {"two domains on one subnet",
       {11, 12},
       {12, 12},
       Behaviour::Confirms,
       DOMAIN_B,
       {"confirmed 10.77.0.12", "unchanged 10.77.0.12"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSite site;
    std::vector<FoundDevice> devices;
    std::vector<PlanRow> rows;
    for (std::uint8_t id = 1; id <= c.from.size(); ++id) {
      devices.push_back(Device(id, Ip(10, 77, 0, 0) | c.from[id - 1]));
      if (id == 2) devices.back().place.domain = c.secondDomain;
      site.AddDevice(devices.back(),
                     id == 1 ? c.first : Behaviour::RefusesInUse);
      rows.push_back(MoveTo(id, Ip(10, 77, 0, 0) | c.to[id - 1]));
    }
    EXPECT_EQ(Ends(Play(site, devices, rows).outcomes), c.ends);
  }
}

// A stop after a wave: a device parked on a temporary address goes on to
// its new address when that is vacant by then, else back to its own.
TEST(ApplyMachine, AStopSendsParkedDevicesOnOrBack) {
  struct Case {
    int stopAfterWave;
    std::vector<std::string> ends;
  } const cases[] = {
      {1, {"returned 10.77.0.11", "not-sent 10.77.0.12"}},
      {2, {"confirmed 10.77.0.12", "confirmed 10.77.0.11"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("stop after wave " + std::to_string(c.stopAfterWave));
    FakeSite site;
    const std::vector<FoundDevice> devices =
        InRow(site, 2, Behaviour::RefusesInUse);
    const Played played =
        Play(site, devices,
             {MoveTo(1, Ip(10, 77, 0, 12)), MoveTo(2, Ip(10, 77, 0, 11))},
             c.stopAfterWave);
    EXPECT_EQ(played.end, ApplyEnd::Stopped);
    // While wave 1 was verified, the parked device was sent there.
    ASSERT_GE(played.kept.size(), 2u);
    EXPECT_EQ(
        Ends(played.kept[1]),
        (std::vector<std::string>{"sent 10.77.0.254", "not-sent 10.77.0.12"}));
    EXPECT_EQ(Ends(played.outcomes), c.ends);
  }
}

// A temporary address given back is taken again, so one --temp address
// breaks two swaps one after the other; and no device parks where a device
// outside the plan is, nor on the gateway that device shows.
TEST(ApplyMachine, TemporaryAddressesAreReusedButNeverAGateway) {
  struct Case {
    const char* name;
    std::optional<TemporaryRange> temporary;
    std::uint32_t gateway;  // of the device outside the plan
  } const cases[] = {
      {"--temp .250", TemporaryRange{Ip(10, 77, 0, 250), Ip(10, 77, 0, 250)},
       Ip(10, 77, 0, 1)},
      {"gateway .254", std::nullopt, Ip(10, 77, 0, 254)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSite site;
    std::vector<FoundDevice> devices = InRow(site, 4, Behaviour::RefusesInUse);
    devices.push_back(Device(9, Ip(10, 77, 0, 253)));
    devices.back().settings.gateway = c.gateway;
    site.AddDevice(devices.back(), Behaviour::Confirms);
    const Played played =
        Play(site, devices,
             {MoveTo(1, Ip(10, 77, 0, 12)), MoveTo(2, Ip(10, 77, 0, 11)),
              MoveTo(3, Ip(10, 77, 0, 14)), MoveTo(4, Ip(10, 77, 0, 13))},
             0, c.temporary);
    for (const PlanOutcome& row : played.outcomes) {
      EXPECT_EQ(row.status, ChangeStatus::Confirmed) << row.message;
      for (const IpSettings& asked : site.Requests(row.mac))
        if (asked.ipAddress != row.proposed.ipAddress) {
          EXPECT_NE(asked.ipAddress, c.gateway);
          EXPECT_NE(asked.ipAddress, Ip(10, 77, 0, 253));
          EXPECT_EQ(asked.ipAddress,
                    c.temporary ? c.temporary->first : asked.ipAddress);
        }
    }
  }
}

// Independent swaps break in one wave; a long chain is cut while its subnet
// has room, instead of going one link a wave.
TEST(ApplyMachine, SwapsAndChainsTakeAFewWaves) {
  struct Case {
    const char* name;
    int count;
    std::function<std::uint32_t(int)> to;
    int mostWaves;
  } const cases[] = {
      {"50 swaps", 100, [](int i) { return 10 + (i ^ 1); }, 3},
      {"a chain of 100", 100, [](int i) { return 11 + i; }, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSite site;
    std::vector<FoundDevice> devices;
    std::vector<PlanRow> rows;
    for (int i = 0; i < c.count; ++i) {
      FoundDevice device = Device(0, Ip(10, 77, 0, 10 + i));
      (*device.mac)[4] = static_cast<std::uint8_t>(i >> 8);
      (*device.mac)[5] = static_cast<std::uint8_t>(i);
      devices.push_back(device);
      site.AddDevice(device, Behaviour::RefusesInUse);
      PlanRow row;
      row.mac = *device.mac;
      row.edit.ip = Ip(10, 77, 0, static_cast<int>(c.to(i)));
      rows.push_back(row);
    }
    const Played played = Play(site, devices, rows);
    EXPECT_EQ(site.Broken(), "");
    EXPECT_LE(site.Sends(), c.mostWaves);
    for (const PlanOutcome& row : played.outcomes)
      EXPECT_EQ(row.status, ChangeStatus::Confirmed) << row.message;
  }
}

}  // namespace
}  // namespace cli
