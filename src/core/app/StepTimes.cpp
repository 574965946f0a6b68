#include "core/app/StepTimes.h"

#include <cmath>

namespace ov {

void StepTimes::Mark(const std::string& name, double atMs) {
  for (const Step& s : steps_)
    if (s.name == name) return;
  steps_.push_back({name, atMs});
}

std::string StepTimes::Report() const {
  std::string out;
  double before = 0;
  for (const Step& s : steps_) {
    out += s.name + "\t" + std::to_string(std::llround(s.atMs)) + "\t" + std::to_string(std::llround(s.atMs - before)) +
           "\n";
    before = s.atMs;
  }
  return out;
}

}  // namespace ov
