#include "core/wallpaper/WallpaperSize.h"

#include <algorithm>

#include "core/render/Color.h"
#include "core/util/Numeric.h"

namespace ov {

Size WallpaperSizeFor(Size d) {
  return {std::clamp(d.width, 1, kMaxWallpaperWidth), std::clamp(d.height, 1, kMaxWallpaperHeight)};
}

void MarkTaskbar(TBitmap32& preview, const Rect& taskbar, Size wallpaper) {
  if (taskbar.Empty() || wallpaper.width <= 0 || wallpaper.height <= 0 || preview.Empty()) return;
  double sx = double(preview.Width()) / wallpaper.width, sy = double(preview.Height()) / wallpaper.height;
  Rect r{Round32(taskbar.left * sx), Round32(taskbar.top * sy), Round32(taskbar.right * sx),
         Round32(taskbar.bottom * sy)};
  preview.FillRectBlend(r, WithAlpha(0x2060FF, 128));
  preview.BevelRect(r, 15);
}

}  // namespace ov
