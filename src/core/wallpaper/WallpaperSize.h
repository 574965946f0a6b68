#pragma once
// The size of the wallpaper and the taskbar mark of the preview.
#include <cstdint>
#include <vector>

#include "core/render/Bitmap32.h"
#include "core/util/Rect.h"

namespace ov {

// The largest wallpaper built: beyond every desktop of today (two 8K monitors side by side
// are 15360 x 4320). A larger virtual screen gets a wallpaper scaled down to fit, which the
// system scales up again on installing.
inline constexpr int32_t kMaxWallpaperWidth = 16384;
inline constexpr int32_t kMaxWallpaperHeight = 8640;

// The wallpaper for a virtual desktop: its own size while that fits the largest wallpaper
// and `availableBytes` of memory (by the check pictures use), otherwise the largest size
// of the same shape that does. At least 1 x 1.
Size WallpaperSizeFor(Size virtualDesktop, uint64_t availableBytes = UINT64_MAX);

// Marks the task bars on a preview of the wallpaper: each rectangle scaled from wallpaper
// to preview pixels (round half to even), filled with translucent blue and bevelled. Empty
// rectangles draw nothing.
void MarkTaskbar(TBitmap32& preview, const std::vector<Rect>& taskbars, Size wallpaper);

}  // namespace ov
