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

}  // namespace ov
