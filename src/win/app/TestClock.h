#pragma once
// A clock the end-to-end tests can move, so that weeks of the calendar run in minutes.
// Only when the environment variable OV_TEST_CLOCK is set as the program starts does the
// main window act on kMsgTestClockAdvance; without it the message does nothing, so users
// never see a moved clock.
#include <windows.h>

namespace ov {

// WPARAM: minutes to add to the clock. A housekeeping tick runs at once, so a sent
// message returns after the day change or rotation it caused. Returns 1 when acted on.
inline constexpr UINT kMsgTestClockAdvance = WM_APP + 0x3C0;

// Whether OV_TEST_CLOCK was set; read once, at the first call.
bool TestClockEnabled();

class WinClock;
// When OV_TEST_CLOCK holds a local date-time ("2026-12-09T09:24:50"), the clock is set
// so that it reads that time now and runs on from there.
void ApplyTestClockStart(WinClock& clock);

}  // namespace ov
