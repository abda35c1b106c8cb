#include <fstream>
#include <sstream>

#include "cli/commands.h"
#include "cli/messages.h"
#include "cli/network.h"
#include "cli/plan_status.h"
#include "core/devices/change_link.h"
#include "core/devices/multi_change.h"
#include "core/engine/local_adapters.h"

namespace cli {
namespace {

// The change requests go out this far apart, so that a switch full of
// devices is not flooded.
constexpr PassTiming PLAN_PACING{std::chrono::milliseconds(0),
                                 std::chrono::milliseconds(50)};

bool ReadWholeFile(const std::string& path, std::string* text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream content;
  content << file.rdbuf();
  if (file.bad()) return false;
  *text = content.str();
  return true;
}

// Sends the Change rows; a row whose request left through no adapter is
// NotSent, the others are verified: Confirmed or NotConfirmed. False when
// the engine failed.
bool ApplyPlan(std::vector<PlanOutcome>* outcomes, const Options& options) {
  std::vector<DeviceInfo> bodies;
  std::vector<PlanOutcome*> changing;
  for (PlanOutcome& outcome : *outcomes) {
    if (outcome.status != PlanStatus::Change) continue;
    bodies.push_back(outcome.body);
    changing.push_back(&outcome);
  }
  if (bodies.empty()) return true;
  std::vector<int> adapters(bodies.size(), 0);
  {
    EngineChangeLink link(options.adapter);
    ChangePass pass(link, bodies, PLAN_PACING);
    if (!pass.Start([&adapters](int done, int left) {
          adapters[static_cast<std::size_t>(done) - 1] = left;
        }))
      return false;
    // Joining closes the link: the verifying searches need the engine.
    pass.Join();
  }
  std::vector<DeviceInfo> sent;
  std::vector<PlanOutcome*> waiting;
  for (std::size_t i = 0; i < bodies.size(); ++i) {
    if (adapters[i] > 0) {
      sent.push_back(bodies[i]);
      waiting.push_back(changing[i]);
    } else {
      changing[i]->status = PlanStatus::NotSent;
      changing[i]->message = "the request left through no adapter";
    }
  }
  if (sent.size() < bodies.size())
    Tell(std::to_string(bodies.size() - sent.size()) +
         " change requests left through no adapter");
  if (sent.empty()) return true;
  Tell("sent " + std::to_string(sent.size()) +
       " change requests; waiting for the devices to answer with the new "
       "settings");
  const VerifyOutcome verified =
      VerifyChanges(sent, options.verifyTimeout, options.adapter);
  if (verified.engineFailed) return false;
  for (std::size_t i = 0; i < waiting.size(); ++i) {
    waiting[i]->status = verified.confirmed[i] ? PlanStatus::Confirmed
                                               : PlanStatus::NotConfirmed;
  }
  return true;
}

}  // namespace

int PlanCommand(const Options& options) {
  std::string text;
  if (!ReadWholeFile(options.planPath, &text)) {
    Tell("cannot read the plan file '" + options.planPath + "'");
    return EXIT_REFUSED;
  }
  const PlanFile plan = ReadPlanCsv(text, options.planPath, BlankIp::Refused);
  if (!plan.ok) {
    Tell(plan.error);
    return EXIT_REFUSED;
  }
  std::vector<FoundDevice> devices;
  if (!SearchDevices(options.timeout, options.adapter, &devices))
    return EXIT_NETWORK_FAILURE;
  std::vector<PlanOutcome> outcomes =
      JudgePlan(plan.rows, devices, AddressesOf(LocalAdapters()));
  if (options.apply && !PlanSendable(outcomes)) {
    Tell("nothing was sent: some rows are invalid or in conflict");
  } else if (options.apply && !ApplyPlan(&outcomes, options)) {
    return EXIT_NETWORK_FAILURE;
  }
  switch (options.format) {
    case Format::Json:
      Emit(PlanJson(outcomes));
      break;
    case Format::Csv:
      Emit(PlanCsv(outcomes));
      break;
    case Format::Table:
      Emit(PlanTable(outcomes));
      break;
  }
  if (PlanNotSent(outcomes)) return EXIT_NETWORK_FAILURE;
  return PlanSucceeded(outcomes, options.apply) ? EXIT_DONE : EXIT_PROBLEMS;
}

}  // namespace cli
