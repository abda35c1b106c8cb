#include "cli/plan/plan_problems.h"

#include <utility>

namespace cli {

PlanProblems::PlanProblems(std::string name) : name_(std::move(name)) {}

void PlanProblems::Add(int line, const std::string& why) {
  ++count_;
  if (shown_.size() < SHOWN)
    shown_.push_back(name_ + ":" + std::to_string(line) + ": " + why);
}

std::vector<std::string> PlanProblems::Lines() const {
  std::vector<std::string> lines = shown_;
  const std::size_t more = count_ - shown_.size();
  if (more > 0) {
    lines.push_back(name_ + ": " + std::to_string(more) +
                    (more == 1 ? " more error" : " more errors"));
  }
  return lines;
}

}  // namespace cli
