// The apply played as a machine against a fake site: random plans of swaps,
// rotations, chains and shared targets in two broadcast domains (now and
// then on one subnet, now and then near its top), with devices that fail in
// every way, hosts on planned addresses, cameras that share a device's
// address, devices the search missed, and a
// link that fails or is stopped; the invariants checked after every step
// and at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "tests/cli/apply_play.h"
#include "tests/cli/cli_test_devices.h"

namespace cli {
namespace {

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
      // Now and then an ONVIF answer from a device's address was merged
      // with it by the neighbour MAC: a camera of its own, or the device.
      if (pick(4) == 0) {
        FoundDevice& merged = devices[devices.size() - 1 - pick(count)];
        OnvifFacts facts;
        facts.endpoint = "urn:uuid:" + MacString(*merged.mac);
        facts.address = merged.settings.ipAddress;
        merged.heardBy = HeardBy::Both;
        merged.macSource = MacSource::Neighbour;
        merged.onvif = facts;
        site.AddOnvifAnswer(
            domain, facts,
            pick(2) ? std::optional<MacAddress>(*merged.mac) : std::nullopt);
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

// The plan's judgement reads the apply's book: a plan it passes is held
// back nowhere by the dry run, and a row it refuses for an address another
// device keeps (ours, or an ONVIF answer, merged or not) would be held back
// by the apply.
TEST(ApplyMachine, TheJudgementAndTheApplyReadOneBook) {
  ApplyRules rules;
  rules.localAddresses = {Ip(10, 77, 0, 2)};
  for (unsigned siteNumber = 1; siteNumber <= 300; ++siteNumber) {
    SCOPED_TRACE("site " + std::to_string(siteNumber));
    std::mt19937 random(siteNumber);
    auto pick = [&](int n) { return static_cast<int>(random() % n); };
    auto anyHost = [&] { return Ip(10, 77, 0, 10 + pick(14)); };
    std::vector<FoundDevice> devices;
    for (std::uint8_t id = 1; id <= 8; ++id)
      devices.push_back(Device(id, Ip(10, 77, 0, 9 + id)));
    std::map<Mac, std::uint32_t> stated;
    for (int k = pick(4); k > 0; --k) {
      OnvifFacts facts;
      facts.endpoint = "urn:uuid:" + std::to_string(k);
      const int tie = pick(3);
      if (tie == 0) {  // a camera of its own
        facts.address = anyHost();
        FoundDevice camera = Device(0, facts.address);
        camera.mac.reset();
        camera.heardBy = HeardBy::Onvif;
        camera.onvif = facts;
        devices.push_back(camera);
        continue;
      }
      FoundDevice& merged = devices[pick(8)];
      merged.heardBy = HeardBy::Both;
      merged.macSource = tie == 1 ? MacSource::Neighbour : MacSource::Reply;
      facts.address = tie == 1 ? merged.settings.ipAddress : anyHost();
      merged.onvif = facts;
      // An answer stating the device's MAC may list another address of it.
      if (tie == 2) stated.emplace(*merged.mac, facts.address);
    }
    std::vector<PlanRow> rows;
    for (std::uint8_t id = 1; id <= 8; ++id) {
      if (pick(3) == 0) continue;
      PlanRow row;
      row.mac = MacOf(id);
      row.edit.ip = anyHost();
      rows.push_back(row);
    }
    const std::vector<PlanOutcome> outcomes =
        JudgePlan(rows, devices, PlanSetting{rules.localAddresses, {}});
    auto move = [&](const PlanOutcome& row, std::size_t i) {
      const IpSettings current = devices[row.mac[5] - 1].settings;
      return ApplyMove{
          row.mac, current,     ProposedSettings(current, rows[i].edit),
          2,       row.message, i};
    };
    std::vector<ApplyMove> passed;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
      const PlanOutcome& row = outcomes[i];
      if (row.status == ChangeStatus::Change) passed.push_back(move(row, i));
      for (const auto& [mac, address] : stated) {
        const bool staying = std::none_of(
            rows.begin(), rows.end(),
            [&mac = mac](const PlanRow& other) { return other.mac == mac; });
        if (staying && row.mac != mac && row.plannedIp == address) {
          EXPECT_NE(row.status, ChangeStatus::Change) << row.message;
        }
      }
      if (row.message.find(" is already the address of ") == std::string::npos)
        continue;
      const ApplyResult alone = ForecastApply({move(row, i)}, devices, rules);
      EXPECT_EQ(alone.moves[0].state, MoveState::Withheld) << row.message;
    }
    if (!PlanSendable(outcomes)) continue;
    const ApplyResult all = ForecastApply(passed, devices, rules);
    for (const MoveReport& report : all.moves)
      EXPECT_EQ(report.state, MoveState::Confirmed) << report.message;
  }
}

}  // namespace
}  // namespace cli
