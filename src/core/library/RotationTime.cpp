#include "core/library/RotationTime.h"

namespace ov {

double NextRotation(double now, int interval, int mode) {
  switch (mode) {
    case 0: return now + interval / 1440.0;
    case 1: return now + interval / 24.0;
    case 2: return now + interval;
    default: return 0;
  }
}

}  // namespace ov
