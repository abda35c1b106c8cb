// What the command line adds to a refusal or a risky change: the value that
// broke a rule and its fix, the mode of a device in DHCP mode, and a device
// that leaves every subnet of this computer.
#include <gtest/gtest.h>

#include "cli/device/change_hint.h"
#include "cli/device/dhcp_address.h"
#include "cli/device/subnet_reach.h"
#include "cli/plan/plan_status.h"
#include "tests/cli/cli_test_devices.h"

namespace cli {
namespace {

// set's gateway message and a plan's port and network messages are checked
// end to end and in plan_status_test.
TEST(ChangeAdvice, RefusalsKeepTheMessageAndNameTheValueAndItsFix) {
  IpSettings proposed = Device(1, Ip(10, 77, 0, 5)).settings;
  proposed.gateway = Ip(192, 168, 1, 1);
  proposed.basePort = 80;
  const struct {
    ChangeProblemKind kind;
    ChangeSource source;
    const char* text;
  } CASES[] = {
      {ChangeProblemKind::GatewayOutsideSubnet, ChangeSource::PlanRow,
       "Invalid network setting. Please check IP address, Subnet Mask, "
       "Gateway. The gateway 192.168.1.1 lies outside the subnet "
       "10.77.0.0/255.255.255.0 of 10.77.0.5: give a gateway in that subnet "
       "in the plan's gateway column (or --gateway with --from)."},
      {ChangeProblemKind::BadBasePort, ChangeSource::Options,
       "Invalid base port number. Base port number must have a value of "
       "1025~65535. The base port 80 is not between 1025 and 65535: give one "
       "in that range with --base-port."},
      // The command line's own messages name the value already.
      {ChangeProblemKind::GatewayAddress, ChangeSource::Options,
       "10.77.0.5 is the gateway"},
  };
  for (const auto& c : CASES) {
    const ChangeProblem problem{c.kind, proposed.ipAddress, {}, MASK24};
    EXPECT_EQ(RefusalText(OneLine(ChangeProblemMessage(problem)), problem,
                          proposed, c.source),
              c.text);
  }
}

// set refuses KeepsDhcp and AsksDhcp (end to end); a plan makes the first
// fixed and finds the second invalid.
TEST(ChangeAdvice, AnAddressForADeviceInDhcpModeMakesItFixedOrIsRefused) {
  IpSettings dhcp = Device(1, Ip(10, 77, 0, 5)).settings;
  dhcp.ipMode = IP_MODE_DHCP;
  const std::uint32_t own = dhcp.ipAddress, other = Ip(10, 77, 0, 6);
  const struct {
    std::optional<std::uint32_t> ip;
    std::optional<std::int32_t> mode;
    DhcpAddress judged;
  } CASES[] = {{other, std::nullopt, DhcpAddress::KeepsDhcp},
               {other, IP_MODE_FIXED, DhcpAddress::Fine},
               {other, IP_MODE_DHCP, DhcpAddress::AsksDhcp},
               {own, std::nullopt, DhcpAddress::Fine},
               {std::nullopt, IP_MODE_DHCP, DhcpAddress::Fine}};
  for (const auto& c : CASES)
    EXPECT_EQ(JudgeDhcpAddress(dhcp, {c.ip, {}, {}, c.mode, {}, {}}), c.judged);

  std::vector<FoundDevice> devices = {Device(1, Ip(10, 77, 0, 11)),
                                      Device(2, Ip(10, 77, 0, 12))};
  std::vector<PlanRow> rows(2);
  for (std::uint8_t i = 0; i < 2; ++i) {
    devices[i].settings.ipMode = IP_MODE_DHCP;
    rows[i].mac = MacOf(i + 1);
    rows[i].edit.ip = Ip(10, 77, 0, 50 + i);
  }
  rows[1].edit.mode = IP_MODE_DHCP;
  const auto outcomes = JudgePlan(rows, devices, {{Ip(10, 77, 0, 2)}, {}});
  EXPECT_EQ(outcomes[0].proposed.ipMode, IP_MODE_FIXED);
  EXPECT_EQ(outcomes[0].message,
            std::string("changes ip, ip_mode; ") + MADE_FIXED_TEXT);
  EXPECT_EQ(outcomes[1].status, ChangeStatus::Invalid);
  EXPECT_EQ(outcomes[1].message, ASKS_DHCP_TEXT);
}

TEST(ChangeAdvice, ADeviceLeavingEverySubnetOfItsDomainIsWarnedOf) {
  const IpSettings current = Device(5, Ip(10, 77, 0, 5)).settings;
  IpSettings away = current;
  away.ipAddress = Ip(10, 78, 0, 5);
  away.gateway = Ip(10, 78, 0, 1);
  IpSettings near = current;
  near.ipAddress = Ip(10, 77, 0, 9);
  const LocalAdapter eth0{Ip(10, 77, 0, 1), MASK24, 2, "eth0"};
  const LocalAdapter eth1{Ip(10, 78, 0, 1), MASK24, 3, "eth1"};
  const struct {
    IpSettings proposed;
    std::vector<LocalAdapter> adapters;
    const char* warning;
  } CASES[] = {
      {away,
       {eth0},
       "02:00:5E:C1:00:05 moves to 10.78.0.5, outside the subnets of this "
       "computer's adapters in its broadcast domain "
       "(10.77.0.0/255.255.255.0): the next search marks it not reachable. "
       "To reach it afterwards, give the adapter 10.77.0.1 (eth0) an address "
       "in 10.78.0.0/255.255.255.0 as well."},
      {away, {eth0, eth1}, ""},
      {near, {eth0}, ""},
      {away, {}, ""},
  };
  for (const auto& c : CASES) {
    EXPECT_EQ(LeavingSubnetsWarning("02:00:5E:C1:00:05", current, c.proposed,
                                    c.adapters),
              c.warning);
  }
  EXPECT_EQ(AdaptersWith({Ip(10, 78, 0, 1)}, {eth0, eth1}).at(0).name, "eth1");
}

TEST(ChangeAdvice, ANumberingRangeThatIsTooShortSaysHowManyItLacks) {
  std::vector<FoundDevice> devices;
  std::vector<PlanRow> rows(4);
  for (int i = 0; i < 4; ++i) {
    const auto last = static_cast<std::uint8_t>(i + 1);
    devices.push_back(Device(last, Ip(10, 77, 0, 20 + i)));
    rows[i].mac = MacOf(last);
  }
  // .182 is this computer's address: four rows, three free addresses.
  const Numbering numbering{Ip(10, 77, 0, 180), std::nullopt, std::nullopt,
                            Ip(10, 77, 0, 183)};
  const auto outcomes =
      JudgePlan(rows, devices, {{Ip(10, 77, 0, 182)}, numbering});
  const std::uint32_t PLANNED[] = {Ip(10, 77, 0, 180), Ip(10, 77, 0, 181),
                                   Ip(10, 77, 0, 183)};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(outcomes[i].plannedIp, PLANNED[i]);
  EXPECT_EQ(outcomes[3].status, ChangeStatus::Conflict);
  EXPECT_EQ(outcomes[3].message,
            "no free address is left in the range 10.77.0.180-10.77.0.183");
  EXPECT_EQ(RangeShortfall(outcomes), 1u);
  EXPECT_EQ(
      RangeShortfall(JudgePlan(
          rows, devices,
          {{Ip(10, 77, 0, 182)}, Numbering{Ip(10, 77, 0, 180), {}, {}, {}}})),
      0u);
}

}  // namespace
}  // namespace cli
