#include "win/app/TestClock.h"

#include "core/calendar/IsoDateTime.h"
#include "win/platform/Utf16.h"
#include "win/platform/WinClock.h"

namespace ov {

bool TestClockEnabled() {
  static const bool enabled = GetEnvironmentVariableW(L"OV_TEST_CLOCK", nullptr, 0) > 0;
  return enabled;
}

void ApplyTestClockStart(WinClock& clock) {
  if (!TestClockEnabled()) return;
  wchar_t value[64] = {};
  const DWORD n = GetEnvironmentVariableW(L"OV_TEST_CLOCK", value, 64);
  if (n == 0 || n >= 64) return;
  if (auto start = ParseIsoDateTime(Narrow(value))) clock.Shift(*start - clock.Now());
}

}  // namespace ov
