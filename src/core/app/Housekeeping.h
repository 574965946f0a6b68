#pragma once
// The housekeeping tick that keeps the desktop in step with time while the program sits
// in the tray: hook re-attachment, icon captions, day change, due rotation, capture.
// The order and the decisions live here; the host does the work.
#include <cstdint>

namespace ov {

class HousekeepingHost {
 public:
  virtual ~HousekeepingHost() = default;
  // The handle of the window the hook library reports to, as it is now.
  virtual uintptr_t CurrentHookWindow() = 0;
  virtual void DeInitializeHook() = 0;
  // 0 means the hook is installed.
  virtual int InitializeHook(uintptr_t window) = 0;
  virtual void ShowHookError() = 0;
  virtual void KeepIconCaptionsTransparent() = 0;
  // DisplayDate, the date the calendar is built around.
  virtual void SetDisplayDate(double date) = 0;
  virtual void UpdateWallpaper() = 0;
  virtual void ShowBackupAge() = 0;
  virtual void Rotate() = 0;
  virtual void ShowNextRotation() = 0;
  // Takes another program's wallpaper into the library; must not throw.
  virtual void CaptureCheck() = 0;
  virtual void SetTimerEnabled(bool enabled) = 0;
};

struct HousekeepingState {
  bool quitting = false;
  uintptr_t hookWindow = 0;     // the window last given to the hook library
  double lastTick = 0;          // date-time of the last completed tick
  bool rotateImages = false;    // rotation switched on
  double nextRotationTime = 0;  // when the next rotation is due
  bool captureWallpaper = false;
};

// One tick at `now` (days since 30 December 1899). Nothing happens while quitting.
void HousekeepingTick(HousekeepingState& state, HousekeepingHost& host, double now);

}  // namespace ov
