// The errors of one plan file, gathered so that a sheet with five bad rows
// is mended in one go rather than in five runs. Every reader of a plan
// (CSV, or any sheet whose rows it hands to ReadPlanRecords) reports
// through one of these.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace cli {

class PlanProblems {
 public:
  // The errors listed in full; a count stands for the rest.
  static constexpr std::size_t SHOWN = 20;

  // `name` is the file name the lines start with.
  explicit PlanProblems(std::string name);

  void Add(int line, const std::string& why);
  bool Empty() const { return count_ == 0; }
  // "NAME:LINE: why" for the first SHOWN errors in the order added, then
  // "NAME: N more errors" when there were more.
  std::vector<std::string> Lines() const;

 private:
  std::string name_;
  std::vector<std::string> shown_;
  std::size_t count_ = 0;
};

}  // namespace cli
