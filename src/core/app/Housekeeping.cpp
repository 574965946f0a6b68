#include "core/app/Housekeeping.h"

#include <cmath>

namespace ov {

namespace {

double WholeDay(double t) { return std::trunc(t); }

}  // namespace

void HousekeepingTick(HousekeepingState& s, HousekeepingHost& host, double now) {
  if (s.quitting) return;

  // 1. The application window was recreated: hand the new one to the hook library. The
  // handle is remembered even when that fails, so the error shows once per change.
  uintptr_t current = host.CurrentHookWindow();
  if (current != s.hookWindow) {
    host.DeInitializeHook();
    s.hookWindow = current;
    if (host.InitializeHook(current) != 0) host.ShowHookError();
  }

  // 2.
  host.KeepIconCaptionsTransparent();

  // 3. A new day (or a clock set to another day) moves the calendar to it.
  if (WholeDay(s.lastTick) != WholeDay(now)) {
    host.SetDisplayDate(now);
    host.UpdateWallpaper();
    host.ShowBackupAge();
  }

  // 4.-5.
  if (s.rotateImages && now > s.nextRotationTime) host.Rotate();
  host.ShowNextRotation();

  // 6.
  s.lastTick = now;

  // 7. The timer is off while capturing, so ticks cannot nest inside it.
  if (s.captureWallpaper) {
    host.SetTimerEnabled(false);
    host.CaptureCheck();
    host.SetTimerEnabled(true);
  }
}

}  // namespace ov
