#include "cli/plan_status.h"

#include <gtest/gtest.h>

#include "tests/cli/cli_test_devices.h"

namespace cli {
namespace {

PlanRow Row(int line, std::uint8_t macLast, std::uint32_t ip) {
  PlanRow row;
  row.line = line;
  row.mac = MacOf(macLast);
  row.edit.ip = ip;
  return row;
}

TEST(PlanStatus, EveryStatusWithItsReason) {
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
      JudgePlan(rows, devices, {Ip(10, 77, 0, 2)});

  const struct {
    PlanStatus status;
    const char* message;
  } EXPECTED[] = {
      {PlanStatus::Change, "changes ip"},
      {PlanStatus::Change, "changes ip"},
      {PlanStatus::Unchanged, ""},
      {PlanStatus::Conflict,
       "10.77.0.40 is already the address of 02:00:5E:C1:00:0C"},
      {PlanStatus::Conflict,
       "10.77.0.60 is also planned for 02:00:5E:C1:00:06"},
      {PlanStatus::Conflict,
       "10.77.0.60 is also planned for 02:00:5E:C1:00:05"},
      {PlanStatus::Conflict, "10.77.0.1 is the gateway"},
      {PlanStatus::Conflict, "10.77.0.255 is the subnet's broadcast address"},
      {PlanStatus::Conflict,
       "The combination of IP address and subnet mask is invalid. Please "
       "enter a valid combination of IP address and subnet mask."},
      {PlanStatus::Missing, "did not answer the search"},
      {PlanStatus::Invalid,
       "Invalid http port number. Http port number must have 80 or a value "
       "of 1025~65535."},
      {PlanStatus::Conflict, "10.77.0.2 is an address of this computer"},
      {PlanStatus::Change, "changes ip_mode"},
  };
  ASSERT_EQ(outcomes.size(), std::size(EXPECTED));
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    EXPECT_EQ(StatusName(outcomes[i].status),
              std::string(StatusName(EXPECTED[i].status)))
        << "row " << i;
    EXPECT_EQ(outcomes[i].message, EXPECTED[i].message) << "row " << i;
  }
  // The body is the device's own with the planned settings.
  DeviceInfo body = devices[0].info;
  body.ipAddress = Ip(10, 77, 0, 12);
  EXPECT_EQ(outcomes[0].body, body);
  EXPECT_FALSE(outcomes[9].found);
  EXPECT_FALSE(PlanSendable(outcomes));
  EXPECT_FALSE(PlanSucceeded(outcomes, false));
}

TEST(PlanStatus, EndsWellOnlyWithChangesAndUnchangedRows) {
  std::vector<PlanOutcome> outcomes(2);
  outcomes[0].status = PlanStatus::Change;
  outcomes[1].status = PlanStatus::Unchanged;
  EXPECT_TRUE(PlanSendable(outcomes));
  EXPECT_TRUE(PlanSucceeded(outcomes, false));
  EXPECT_FALSE(PlanSucceeded(outcomes, true));
  outcomes[0].status = PlanStatus::Confirmed;
  EXPECT_TRUE(PlanSucceeded(outcomes, true));
  outcomes[0].status = PlanStatus::NotConfirmed;
  EXPECT_FALSE(PlanSucceeded(outcomes, true));
  outcomes[1].status = PlanStatus::Missing;
  EXPECT_TRUE(PlanSendable(outcomes));
  EXPECT_EQ(PlanCsv(outcomes),
            "mac,status,current_ip,planned_ip,message\n"
            "00:00:00:00:00:00,not-confirmed,,0.0.0.0,\n"
            "00:00:00:00:00:00,missing,,0.0.0.0,\n");
}

}  // namespace
}  // namespace cli
