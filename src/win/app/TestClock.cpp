#include "win/app/TestClock.h"

namespace ov {

bool TestClockEnabled() {
  static const bool enabled = GetEnvironmentVariableW(L"OV_TEST_CLOCK", nullptr, 0) > 0;
  return enabled;
}

}  // namespace ov
