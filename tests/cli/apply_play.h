// Playing a plan through the apply machine against a fake site, as the
// command does, for the apply's tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/plan/plan_apply.h"
#include "tests/cli/fake_site.h"

namespace cli {

// The second broadcast domain of the tests' sites.
constexpr std::uint32_t DOMAIN_B = 5;

struct Played {
  std::vector<PlanOutcome> outcomes;
  ApplyEnd end = ApplyEnd::Finished;
  bool sent = false;
  // The rows kept for a second stop request, each time they changed.
  std::vector<std::vector<PlanOutcome>> kept;
  // What each search that verified a wave told.
  std::vector<VerifyProgress> verifying;
};

// Judges the rows, forecasts them and, when they may be sent, applies them
// to the site, stopping once `stopAfterWave` waves went out (0: never); the
// rows kept for a second stop request are checked to be true each time.
Played Play(FakeSite& site, const std::vector<FoundDevice>& devices,
            const std::vector<PlanRow>& rows, int stopAfterWave = 0,
            std::optional<TemporaryRange> temporary = std::nullopt);

// Each row's status and now_ip: "confirmed 10.77.0.12".
std::vector<std::string> Ends(const std::vector<PlanOutcome>& rows);

// Devices 1..count on 10.77.0.11 up, each in the site with `behaviour`.
std::vector<FoundDevice> InRow(FakeSite& site, std::uint8_t count,
                               Behaviour behaviour);

// A row that moves device `id` (MacOf) to `ip`.
PlanRow MoveTo(std::uint8_t id, std::uint32_t ip);

}  // namespace cli
