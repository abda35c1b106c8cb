// The apply's edges, each played on a small fake site: a swap whose partner
// stays, hosts and stale entries at planned addresses, ends decided by where
// each device is, a stop, temporary addresses, and how few waves it takes.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "tests/cli/apply_play.h"
#include "tests/cli/cli_test_devices.h"

namespace cli {
namespace {

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

// Device 2 on .12 was merged with an ONVIF answer from .12 on the neighbour
// table's MAC alone; it moves to .60 and device 1 onto .12. A camera of its
// own keeps .12 while it answers there; an answer that was device 2's moves
// with it and frees .12.
TEST(ApplyMachine, AnOnvifAnswerHoldsItsAddressWhileItIsHeardThere) {
  enum class Answer { FromACamera, FromTheDevice };
  OnvifFacts facts;
  facts.endpoint = "urn:uuid:cam";
  facts.name = "Stairwell";
  facts.address = Ip(10, 77, 0, 12);
  for (const Answer answer : {Answer::FromACamera, Answer::FromTheDevice}) {
    SCOPED_TRACE(static_cast<int>(answer));
    FakeSite site;
    std::vector<FoundDevice> devices = InRow(site, 2, Behaviour::RefusesInUse);
    devices[1].heardBy = HeardBy::Both;
    devices[1].macSource = MacSource::Neighbour;
    devices[1].onvif = facts;
    site.AddOnvifAnswer(2, facts,
                        answer == Answer::FromTheDevice
                            ? std::optional<MacAddress>(MacOf(2))
                            : std::nullopt);
    const Played played =
        Play(site, devices,
             {MoveTo(1, Ip(10, 77, 0, 12)), MoveTo(2, Ip(10, 77, 0, 60))});
    EXPECT_EQ(site.Broken(), "");
    if (answer == Answer::FromTheDevice) {
      EXPECT_EQ(Ends(played.outcomes),
                (std::vector<std::string>{"confirmed 10.77.0.12",
                                          "confirmed 10.77.0.60"}));
      continue;
    }
    EXPECT_EQ(Ends(played.outcomes),
              (std::vector<std::string>{"not-sent 10.77.0.11",
                                        "confirmed 10.77.0.60"}));
    EXPECT_EQ(played.outcomes[0].message,
              "10.77.0.12 is already the address of Stairwell (urn:uuid:cam, "
              "10.77.0.12); nothing was sent");
    EXPECT_TRUE(site.Requests(MacOf(1)).empty());
  }
}

// A device's own answer lists a second address of it: whoever is planned
// there waits for the device, and once it has moved and still answers
// there, is told at once that it will not leave.
TEST(ApplyMachine, AnAddressADevicesOwnAnswerListsIsTheDevices) {
  OnvifFacts facts;
  facts.endpoint = "urn:uuid:dome";
  facts.address = Ip(10, 77, 0, 30);
  FakeSite site;
  std::vector<FoundDevice> devices = InRow(site, 2, Behaviour::RefusesInUse);
  devices[0].heardBy = HeardBy::Both;
  devices[0].macSource = MacSource::Reply;
  devices[0].onvif = facts;
  site.AddStatedAnswer(2, facts, MacOf(1));
  const Played played =
      Play(site, devices,
           {MoveTo(1, Ip(10, 77, 0, 20)), MoveTo(2, Ip(10, 77, 0, 30))});
  EXPECT_EQ(Ends(played.outcomes),
            (std::vector<std::string>{"confirmed 10.77.0.20",
                                      "not-sent 10.77.0.12"}));
  EXPECT_EQ(played.outcomes[1].message,
            "not sent: it waits for 02:00:5E:C1:00:01 to leave 10.77.0.30, "
            "which it will not");
}

}  // namespace
}  // namespace cli
