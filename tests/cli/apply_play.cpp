#include "tests/cli/apply_play.h"

#include <gtest/gtest.h>

#include "tests/cli/cli_test_devices.h"

namespace cli {
namespace {

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

}  // namespace

Played Play(FakeSite& site, const std::vector<FoundDevice>& devices,
            const std::vector<PlanRow>& rows, int stopAfterWave,
            std::optional<TemporaryRange> temporary) {
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

std::vector<std::string> Ends(const std::vector<PlanOutcome>& rows) {
  std::vector<std::string> ends;
  for (const PlanOutcome& row : rows)
    ends.push_back(std::string(StatusWord(row.status)) + " " +
                   Dotted(row.nowIp.value_or(0)));
  return ends;
}

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

}  // namespace cli
