#pragma once
// Timer identifiers of the main window.
#include <windows.h>

namespace ov {

inline constexpr UINT_PTR kTimerSec = 1;           // housekeeping, every 3000 ms
inline constexpr UINT kTimerSecInterval = 3000;
inline constexpr UINT_PTR kTimerPreviewDelay = 2;  // one-shot preview redraw, 300 ms
// After a wallpaper install the program's windows and the task bar are painted again
// this often, this far apart: the desktop may paint the new picture over them up to
// about half a second later.
inline constexpr UINT_PTR kTimerRedrawOverWallpaper = 3;
inline constexpr UINT kRedrawOverWallpaperInterval = 400;
inline constexpr int kRedrawOverWallpaperCount = 4;
// One-shot, restarted by every wallpaper build: a minute without one frees the kept
// picture layer, so the idle program in the tray holds no wallpaper-sized surfaces.
inline constexpr UINT_PTR kTimerReleaseWallpaperLayer = 4;
inline constexpr UINT kReleaseWallpaperLayerDelay = 60000;
// One-shot, set to the next due reminder.
inline constexpr UINT_PTR kTimerReminder = 5;
// Notes changed on disk while an entry pop-up is open: the rebuild (which would close
// the pop-up) waits until it is gone, looking again this often.
inline constexpr UINT_PTR kTimerNotesChanged = 6;
inline constexpr UINT kNotesChangedRetryInterval = 1000;

}  // namespace ov
