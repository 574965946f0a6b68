#pragma once
// The moments at which the steps of a run ended, each in milliseconds since the run
// began, and their report: one line per step with its moment and the time it took since
// the step before. The program's start-up figures are kept this way.
#include <string>
#include <vector>

namespace ov {

class StepTimes {
 public:
  struct Step {
    std::string name;
    double atMs;
  };

  // Notes a step; a step already noted keeps its first moment (a later build of the
  // wallpaper is not the start's).
  void Mark(const std::string& name, double atMs);
  const std::vector<Step>& Steps() const { return steps_; }
  // "name<TAB>at<TAB>took" lines, whole milliseconds, in the order the steps ended.
  std::string Report() const;

 private:
  std::vector<Step> steps_;
};

}  // namespace ov
