#include "core/wallpaper/WallpaperSize.h"

#include <algorithm>
#include <cmath>

#include "core/platform/ImageDecoder.h"
#include "core/render/Color.h"
#include "core/util/Numeric.h"

namespace ov {

Size WallpaperSizeFor(Size d, uint64_t availableBytes) {
  const int64_t vw = std::max(d.width, 1), vh = std::max(d.height, 1);
  int64_t w = vw, h = vh;
  if (w > kMaxWallpaperWidth || h > kMaxWallpaperHeight) {
    // The side that overshoots more sets the scale; the other follows the screen's shape.
    if (vw * kMaxWallpaperHeight >= vh * kMaxWallpaperWidth) {
      w = kMaxWallpaperWidth;
      h = std::max<int64_t>(1, vh * kMaxWallpaperWidth / vw);
    } else {
      h = kMaxWallpaperHeight;
      w = std::max<int64_t>(1, vw * kMaxWallpaperHeight / vh);
    }
  }
  if (!PictureFitsInMemory(w, h, availableBytes)) {
    // Shrink both sides by one factor to the pixels the memory holds, then step down
    // while rounding still leaves it a little over.
    const double fits = double(availableBytes - availableBytes / 4) / 8.0;
    const double f = std::sqrt(fits / (double(w) * double(h)));
    int64_t nw = std::max<int64_t>(1, int64_t(double(w) * f)), nh = std::max<int64_t>(1, int64_t(double(h) * f));
    for (int i = 0; i < 64 && (nw > 1 || nh > 1) && !PictureFitsInMemory(nw, nh, availableBytes); ++i) {
      nw = std::max<int64_t>(1, nw * 99 / 100);
      nh = std::max<int64_t>(1, nh * 99 / 100);
    }
    w = nw;
    h = nh;
  }
  return {static_cast<int32_t>(w), static_cast<int32_t>(h)};
}

void MarkTaskbar(TBitmap32& preview, const std::vector<Rect>& taskbars, Size wallpaper) {
  if (wallpaper.width <= 0 || wallpaper.height <= 0 || preview.Empty()) return;
  double sx = double(preview.Width()) / wallpaper.width, sy = double(preview.Height()) / wallpaper.height;
  for (const Rect& taskbar : taskbars) {
    if (taskbar.Empty()) continue;
    Rect r{Round32(taskbar.left * sx), Round32(taskbar.top * sy), Round32(taskbar.right * sx),
           Round32(taskbar.bottom * sy)};
    preview.FillRectBlend(r, WithAlpha(0x2060FF, 128));
    preview.BevelRect(r, 15);
  }
}

}  // namespace ov
