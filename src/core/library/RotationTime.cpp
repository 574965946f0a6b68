#include "core/library/RotationTime.h"

#include <algorithm>

namespace ov {

double NextRotation(double now, int interval, int mode) {
  switch (mode) {
    case 0: return now + interval / 1440.0;
    case 1: return now + interval / 24.0;
    case 2: return now + interval;
    default: return 0;
  }
}

void RotationIntervalEdited(Settings& s, int32_t interval, double now) {
  s.RotationInterval = std::clamp<int32_t>(interval, 1, 9999);
  s.NextRotationTime = NextRotation(now, s.RotationInterval, s.RotationMode);
}

std::string NextRotationLabel(const std::string& shortDate, const std::string& longTime) {
  return "下一次更改: \r" + shortDate + " " + longTime;
}

}  // namespace ov
