#pragma once
// The size of the wallpaper and the taskbar mark of the preview.
#include "core/render/Bitmap32.h"
#include "core/util/Rect.h"

namespace ov {

inline constexpr int32_t kMaxWallpaperWidth = 6400;
inline constexpr int32_t kMaxWallpaperHeight = 4800;

// The virtual desktop's size held to 6400 x 4800 (and to at least 1 x 1).
Size WallpaperSizeFor(Size virtualDesktop);

// Marks the task bar on a preview of the wallpaper: its rectangle scaled from wallpaper
// to preview pixels (round half to even), filled with translucent blue and bevelled. An
// empty rectangle (no task bar) draws nothing.
void MarkTaskbar(TBitmap32& preview, const Rect& taskbar, Size wallpaper);

}  // namespace ov
