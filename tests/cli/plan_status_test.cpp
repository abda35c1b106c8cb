#include "cli/plan/plan_status.h"

#include <gtest/gtest.h>

#include "tests/cli/cli_test_devices.h"

namespace cli {
namespace {

PlanSetting Setting(std::uint32_t local,
                    std::optional<Numbering> numbering = std::nullopt) {
  return {{local}, numbering};
}

PlanRow Row(int line, std::uint8_t macLast, std::uint32_t ip) {
  PlanRow row;
  row.line = line;
  row.mac = MacOf(macLast);
  row.edit.ip = ip;
  return row;
}

TEST(ChangeStatus, EveryStatusWithItsReason) {
  const std::vector<FoundDevice> devices = {
      Device(1, Ip(10, 77, 0, 11)),  Device(2, Ip(10, 77, 0, 12)),
      Device(3, Ip(10, 77, 0, 13)),  Device(4, Ip(10, 77, 0, 14)),
      Device(5, Ip(10, 77, 0, 15)),  Device(6, Ip(10, 77, 0, 16)),
      Device(7, Ip(10, 77, 0, 17)),  Device(8, Ip(10, 77, 0, 18)),
      Device(9, Ip(10, 77, 0, 19)),  Device(11, Ip(10, 77, 0, 30)),
      Device(12, Ip(10, 77, 0, 40)), Device(13, Ip(10, 77, 0, 50)),
      Device(14, Ip(10, 77, 0, 80)), Device(15, Ip(10, 77, 0, 80))};
  std::vector<PlanRow> rows = {
      Row(2, 1, Ip(10, 77, 0, 12)),    // swap with 2
      Row(3, 2, Ip(10, 77, 0, 11)),    // swap with 1
      Row(4, 3, Ip(10, 77, 0, 13)),    // already so
      Row(5, 4, Ip(10, 77, 0, 40)),    // 12 stays there
      Row(6, 5, Ip(10, 77, 0, 60)),    // planned twice
      Row(7, 6, Ip(10, 77, 0, 60)),    // planned twice
      Row(8, 7, Ip(10, 77, 0, 1)),     // the gateway
      Row(9, 8, Ip(10, 77, 0, 255)),   // broadcast
      Row(10, 9, Ip(10, 77, 0, 0)),    // network
      Row(11, 10, Ip(10, 77, 0, 70)),  // did not answer
      Row(12, 11, Ip(10, 77, 0, 30)),  // port out of range
      Row(13, 13, Ip(10, 77, 0, 2)),   // this computer's address
      Row(14, 14, Ip(10, 77, 0, 80)),  // keeps the address it shares
  };
  rows[2].edit.httpPort = 80;
  rows[10].edit.httpPort = 81;
  rows[12].edit.mode = IP_MODE_DHCP;
  const std::vector<PlanOutcome> outcomes =
      JudgePlan(rows, devices, Setting(Ip(10, 77, 0, 2)));

  const struct {
    ChangeStatus status;
    const char* message;
  } EXPECTED[] = {
      {ChangeStatus::Change, "changes ip"},
      {ChangeStatus::Change, "changes ip"},
      {ChangeStatus::Unchanged, ""},
      {ChangeStatus::Conflict,
       "10.77.0.40 is already the address of 02:00:5E:C1:00:0C"},
      {ChangeStatus::Conflict,
       "10.77.0.60 is also planned for 02:00:5E:C1:00:06"},
      {ChangeStatus::Conflict,
       "10.77.0.60 is also planned for 02:00:5E:C1:00:05"},
      {ChangeStatus::Conflict, "10.77.0.1 is the gateway"},
      {ChangeStatus::Conflict, "10.77.0.255 is the subnet's broadcast address"},
      {ChangeStatus::Conflict,
       "The combination of IP address and subnet mask is invalid. Please "
       "enter a valid combination of IP address and subnet mask. The "
       "address 10.77.0.0 is the network address of the subnet "
       "10.77.0.0/255.255.255.0: give another in the plan's ip column, or "
       "another mask in the plan's mask column."},
      {ChangeStatus::Missing, "did not answer the search"},
      {ChangeStatus::Invalid,
       "Invalid http port number. Http port number must have 80 or a value "
       "of 1025~65535. The HTTP port 81 is neither 80 nor between 1025 and "
       "65535: give 80 or one in that range in the plan's http_port "
       "column."},
      {ChangeStatus::Conflict, "10.77.0.2 is an address of this computer"},
      {ChangeStatus::Change, "changes ip_mode"},
  };
  ASSERT_EQ(outcomes.size(), std::size(EXPECTED));
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    EXPECT_EQ(StatusWord(outcomes[i].status),
              std::string(StatusWord(EXPECTED[i].status)))
        << "row " << i;
    EXPECT_EQ(outcomes[i].message, EXPECTED[i].message) << "row " << i;
  }
  // The request is the device's own settings with the planned ones.
  IpSettings proposed = devices[0].settings;
  proposed.ipAddress = Ip(10, 77, 0, 12);
  EXPECT_EQ(outcomes[0].proposed, proposed);
  EXPECT_FALSE(outcomes[9].found);
  EXPECT_FALSE(PlanSendable(outcomes));
  EXPECT_FALSE(PlanSucceeded(outcomes, false));
}

TEST(ChangeStatus, EndsWellOnlyWithChangesAndUnchangedRows) {
  std::vector<PlanOutcome> outcomes(2);
  outcomes[0].status = ChangeStatus::Change;
  outcomes[1].status = ChangeStatus::Unchanged;
  EXPECT_TRUE(PlanSendable(outcomes));
  EXPECT_TRUE(PlanSucceeded(outcomes, false));
  EXPECT_FALSE(PlanSucceeded(outcomes, true));
  outcomes[0].status = ChangeStatus::Confirmed;
  EXPECT_TRUE(PlanSucceeded(outcomes, true));
  outcomes[0].status = ChangeStatus::NotConfirmed;
  EXPECT_FALSE(PlanSucceeded(outcomes, true));
  outcomes[1].status = ChangeStatus::Missing;
  EXPECT_TRUE(PlanSendable(outcomes));
  outcomes[0].status = ChangeStatus::Returned;
  outcomes[0].nowIp = Ip(10, 77, 0, 11);
  EXPECT_FALSE(PlanSucceeded(outcomes, true));
  EXPECT_EQ(PlanReport(outcomes, Format::Csv),
            "mac,status,current_ip,planned_ip,message,adapter,now_ip\n"
            "00:00:00:00:00:00,returned,,,,,10.77.0.11\n"
            "00:00:00:00:00:00,missing,,,,,\n");
  EXPECT_EQ(PlanSummary(outcomes), "1 returned, 1 missing");
}

// What a search reports is planned back unchanged: a factory gateway, a port
// the checks would refuse and a shared address are no reason to refuse it.
TEST(ChangeStatus, AskingForWhatADeviceHasIsUnchangedBeforeAnyCheck) {
  std::vector<FoundDevice> devices = {Device(1, Ip(192, 168, 1, 64)),
                                      Device(2, Ip(10, 77, 0, 20)),
                                      Device(3, Ip(10, 77, 0, 20))};
  devices[0].settings.gateway = 0;
  devices[0].settings.httpPort = 443;
  std::vector<PlanRow> rows = {Row(2, 1, Ip(192, 168, 1, 64)),
                               Row(3, 2, Ip(10, 77, 0, 20))};
  rows[0].edit.httpPort = 443;
  const std::vector<PlanOutcome> outcomes =
      JudgePlan(rows, devices, Setting(Ip(10, 77, 0, 2)));
  EXPECT_EQ(outcomes[0].status, ChangeStatus::Unchanged) << outcomes[0].message;
  EXPECT_EQ(outcomes[1].status, ChangeStatus::Unchanged) << outcomes[1].message;
}

// A search's table is a plan: its ONVIF rows, left as they are, are
// unchanged; an address an ONVIF answer holds is named by that answer.
TEST(ChangeStatus, OnvifRowsLeftAsTheyAreAreUnchanged) {
  auto onvif = [](std::optional<Mac> mac, std::uint32_t ip) {
    FoundDevice device = Device(0, ip);
    device.settings = IpSettings{};
    device.settings.ipAddress = ip;
    device.mac = mac;
    device.heardBy = HeardBy::Onvif;
    device.onvif = OnvifFacts{"urn:uuid:1", "Stairwell", "", "", {}, ip};
    return device;
  };
  const std::vector<FoundDevice> devices = {
      Device(1, Ip(10, 77, 0, 11)), onvif(std::nullopt, Ip(10, 77, 0, 12)),
      onvif(MacOf(0x53), Ip(10, 77, 0, 13))};
  auto onvifRow = [](std::optional<std::uint32_t> ip) {
    PlanRow row;
    row.kind = PlanRowKind::OnvifOnly;
    row.macGiven = false;
    row.edit.ip = ip;
    return row;
  };
  std::vector<PlanRow> rows = {
      onvifRow(Ip(10, 77, 0, 12)),      // as the search listed it
      onvifRow(Ip(10, 77, 0, 11)),      // no ONVIF device there
      Row(4, 0x53, Ip(10, 77, 0, 13)),  // as listed, by its stated MAC
      Row(5, 0x53, Ip(10, 77, 0, 14)),  // asks for a change
      Row(6, 1, Ip(10, 77, 0, 12)),     // onto the camera's address
      onvifRow(Ip(10, 77, 0, 12)),      // asks for a mask
  };
  rows[5].edit.mask = MASK24;
  const std::vector<PlanOutcome> outcomes =
      JudgePlan(rows, devices, Setting(Ip(10, 77, 0, 2)));
  const struct {
    ChangeStatus status;
    std::optional<std::uint32_t> currentIp;
    const char* message;
  } EXPECTED[] = {
      {ChangeStatus::Unchanged, Ip(10, 77, 0, 12), ""},
      {ChangeStatus::Invalid, std::nullopt, ONVIF_ONLY_TEXT},
      {ChangeStatus::Unchanged, Ip(10, 77, 0, 13), ""},
      {ChangeStatus::Invalid, Ip(10, 77, 0, 13), ONVIF_ONLY_TEXT},
      {ChangeStatus::Conflict, Ip(10, 77, 0, 11),
       "10.77.0.12 is already the address of Stairwell (urn:uuid:1, "
       "10.77.0.12)"},
      {ChangeStatus::Invalid, Ip(10, 77, 0, 12), ONVIF_ONLY_TEXT},
  };
  ASSERT_EQ(outcomes.size(), std::size(EXPECTED));
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    EXPECT_EQ(outcomes[i].status, EXPECTED[i].status) << "row " << i;
    EXPECT_EQ(outcomes[i].found, EXPECTED[i].currentIp.has_value()) << i;
    EXPECT_EQ(outcomes[i].currentIp, EXPECTED[i].currentIp.value_or(0)) << i;
    EXPECT_EQ(outcomes[i].message, EXPECTED[i].message) << "row " << i;
  }
}

TEST(ChangeStatus, NumberingSkipsWhatTheCheckerRefusesAndMissingDevices) {
  // .1 is the gateway, .2 this computer's, .11 device 1's, .4 planned by a
  // row of its own; device 9 did not answer; device 6 has a factory
  // gateway that the new subnet does not hold.
  std::vector<FoundDevice> devices = {
      Device(1, Ip(10, 77, 0, 11)), Device(2, Ip(10, 77, 0, 40)),
      Device(3, Ip(10, 77, 0, 41)), Device(5, Ip(10, 77, 0, 42)),
      Device(6, Ip(192, 168, 1, 64))};
  devices[4].settings.gateway = Ip(192, 168, 1, 1);
  devices[4].settings.subnetMask = MASK24;
  std::vector<PlanRow> rows = {Row(2, 2, 0), Row(3, 9, 0), Row(4, 6, 0),
                               Row(5, 3, 0), Row(6, 5, Ip(10, 77, 0, 4))};
  for (int i = 0; i < 4; ++i) rows[i].edit.ip.reset();
  const std::vector<PlanOutcome> outcomes = JudgePlan(
      rows, devices,
      Setting(Ip(10, 77, 0, 2), Numbering{Ip(10, 77, 0, 1), std::nullopt,
                                          std::nullopt, std::nullopt}));
  EXPECT_EQ(outcomes[0].status, ChangeStatus::Change);
  EXPECT_EQ(outcomes[0].plannedIp, Ip(10, 77, 0, 3));
  EXPECT_EQ(outcomes[1].status, ChangeStatus::Missing);
  EXPECT_FALSE(outcomes[1].plannedIp);
  EXPECT_EQ(outcomes[2].status, ChangeStatus::Invalid);
  EXPECT_EQ(outcomes[2].message.rfind("Invalid network setting.", 0), 0u);
  EXPECT_EQ(outcomes[3].status, ChangeStatus::Change);
  EXPECT_EQ(outcomes[3].plannedIp, Ip(10, 77, 0, 5))
      << "the address the invalid row was shown is not used up";
  EXPECT_EQ(outcomes[4].status, ChangeStatus::Change);
}

// A setting a row leaves as the device has it is never refused; a mask a
// row gives, or keeps while it changes the address, is.
TEST(ChangeStatus, OnlyWhatARowChangesIsJudged) {
  std::vector<FoundDevice> devices = {
      Device(1, Ip(10, 77, 0, 11)), Device(2, Ip(10, 77, 0, 12)),
      Device(3, Ip(10, 77, 0, 13)), Device(4, Ip(10, 77, 0, 14))};
  devices[0].settings.httpPort = 81;
  devices[1].settings.basePort = -1;
  devices[3].settings.subnetMask = Ip(255, 255, 0, 255);
  std::vector<PlanRow> rows = {
      Row(2, 1, Ip(10, 77, 0, 12)), Row(3, 2, Ip(10, 77, 0, 11)),
      Row(4, 3, Ip(10, 77, 0, 13)), Row(5, 4, Ip(10, 77, 0, 40))};
  rows[2].edit.mask = Ip(255, 255, 255, 254);
  const std::vector<PlanOutcome> outcomes =
      JudgePlan(rows, devices, Setting(Ip(10, 77, 0, 2)));
  const struct {
    ChangeStatus status;
    const char* message;
  } EXPECTED[] = {
      {ChangeStatus::Change, "changes ip"},
      {ChangeStatus::Change, "changes ip"},
      {ChangeStatus::Invalid,
       "255.255.255.254 (/31) leaves no address for a device beside the "
       "network and broadcast addresses"},
      {ChangeStatus::Invalid,
       "255.255.0.255 is not a subnet mask: its ones must come first"},
  };
  for (std::size_t i = 0; i < std::size(EXPECTED); ++i) {
    EXPECT_EQ(outcomes[i].status, EXPECTED[i].status) << i;
    EXPECT_EQ(outcomes[i].message, EXPECTED[i].message) << i;
  }
  EXPECT_EQ(outcomes[0].proposed.httpPort, 81) << "the kept port is sent back";
}

// A zero mask, given or shown by a device without a DHCP lease, would make
// the subnet all of IPv4: its rows are invalid, and no subnet is walked.
TEST(ChangeStatus, NumberingWithAZeroMaskEndsAtOnceInvalid) {
  std::vector<FoundDevice> devices = {Device(1, Ip(10, 77, 0, 11)),
                                      Device(2, Ip(169, 254, 3, 9))};
  devices[1].settings.subnetMask = 0;
  std::vector<PlanRow> rows = {Row(2, 1, 0), Row(3, 2, 0)};
  for (PlanRow& row : rows) row.edit.ip.reset();
  const char* const ZERO =
      "0.0.0.0 (/0) is no subnet mask for a device: it makes every IPv4 "
      "address one subnet";

  std::vector<PlanOutcome> outcomes = JudgePlan(
      rows, devices,
      Setting(Ip(10, 77, 0, 2), Numbering{Ip(10, 77, 0, 100), std::nullopt,
                                          std::nullopt, std::nullopt}));
  EXPECT_EQ(outcomes[0].status, ChangeStatus::Change);
  EXPECT_EQ(outcomes[0].plannedIp, Ip(10, 77, 0, 100));
  EXPECT_EQ(outcomes[1].status, ChangeStatus::Invalid);
  EXPECT_EQ(outcomes[1].message, ZERO);

  outcomes = JudgePlan(
      rows, devices,
      Setting(Ip(10, 77, 0, 2), Numbering{Ip(10, 77, 0, 100), 0u,
                                          Ip(10, 77, 0, 1), std::nullopt}));
  for (const PlanOutcome& outcome : outcomes) {
    EXPECT_EQ(outcome.status, ChangeStatus::Invalid);
    EXPECT_EQ(outcome.message, ZERO);
  }
}

// Each VLAN of a trunk numbers its own devices: one address in two broadcast
// domains is no conflict, and a device that no adapter with an address
// heard cannot be reached.
TEST(ChangeStatus, EachDomainIsPlannedOnItsOwn) {
  // Devices 1 and 5 are on the VLAN of interface 2, 2, 3 and 6 on that of 3,
  // where 3 shows 10.77.0.60; 4 was heard only without an address.
  std::vector<FoundDevice> devices = {
      Device(1, Ip(192, 168, 1, 64)), Device(2, Ip(192, 168, 1, 64)),
      Device(3, Ip(10, 77, 0, 60)),   Device(4, Ip(192, 168, 1, 64)),
      Device(5, Ip(10, 77, 0, 20)),   Device(6, Ip(10, 77, 0, 21))};
  devices[1].place = devices[2].place =
      devices[5].place = {3, Ip(10, 78, 0, 1), 0};
  devices[3].place = {4, 0, 0};
  std::vector<PlanRow> rows = {
      Row(2, 1, 0), Row(3, 2, 0), Row(4, 4, Ip(10, 77, 0, 70)),
      Row(5, 5, Ip(10, 77, 0, 62)), Row(6, 6, Ip(10, 77, 0, 62))};
  rows[0].edit.ip.reset();
  rows[1].edit.ip.reset();
  const std::vector<PlanOutcome> outcomes = JudgePlan(
      rows, devices,
      Setting(Ip(10, 78, 0, 1), Numbering{Ip(10, 77, 0, 60), MASK24,
                                          Ip(10, 77, 0, 1), std::nullopt}));
  const struct {
    ChangeStatus status;
    std::uint32_t planned;
  } EXPECTED[] = {{ChangeStatus::Change, Ip(10, 77, 0, 60)},
                  {ChangeStatus::Change, Ip(10, 77, 0, 61)},
                  {ChangeStatus::NotSent, Ip(10, 77, 0, 70)},
                  {ChangeStatus::Change, Ip(10, 77, 0, 62)},
                  {ChangeStatus::Change, Ip(10, 77, 0, 62)}};
  for (std::size_t i = 0; i < std::size(EXPECTED); ++i) {
    EXPECT_EQ(outcomes[i].status, EXPECTED[i].status) << outcomes[i].message;
    EXPECT_EQ(outcomes[i].plannedIp, EXPECTED[i].planned) << i;
  }
  EXPECT_NE(outcomes[2].message.find("without an IPv4 address"),
            std::string::npos);
  EXPECT_FALSE(PlanSendable(outcomes));
}

}  // namespace
}  // namespace cli
