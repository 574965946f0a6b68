#include "core/preview/PreviewGeometry.h"

#include <algorithm>

#include "core/util/Numeric.h"

namespace ov {

Rect LayoutPreviewRect(int32_t w, int32_t h, int32_t clientW, int32_t clientH, int32_t border) {
  // A picture without a size has no aspect; lay it out square rather than divide by zero.
  if (w <= 0 || h <= 0) w = h = 1;
  const double aspect = static_cast<double>(h) / w;
  int64_t a = int64_t(clientW) - 2 * int64_t(border);
  int64_t b = Trunc(aspect * a);
  int64_t top = (clientH - b) / 2, left = 0;
  if (b > clientH) {
    b = clientH;
    a = Trunc(b / aspect);
    top = 0;
    left = (clientW - a) / 2;
  }
  a = std::max<int64_t>(a, 4);
  b = std::max<int64_t>(b, 4);
  auto c = [](int64_t v) { return static_cast<int32_t>(Clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  return {c(left), c(top), c(left + a), c(top + b)};
}

namespace {
int32_t Scale(int32_t v, int32_t to, int32_t from) {
  if (from == 0 || to == 0) return 0;
  return Round32(static_cast<double>(to) / from * v);
}
}  // namespace

Point PreviewMapping::ToPreview(Point p) const {
  return {Scale(p.x, preview_.width, target_.width), Scale(p.y, preview_.height, target_.height)};
}

Point PreviewMapping::ToWallpaper(Point p) const {
  return {Scale(p.x, target_.width, preview_.width), Scale(p.y, target_.height, preview_.height)};
}

Rect PreviewMapping::ToPreview(const Rect& r) const {
  Point a = ToPreview(Point{r.left, r.top}), b = ToPreview(Point{r.right, r.bottom});
  return {a.x, a.y, b.x, b.y};
}

Rect PreviewMapping::ToWallpaper(const Rect& r) const {
  Point a = ToWallpaper(Point{r.left, r.top}), b = ToWallpaper(Point{r.right, r.bottom});
  return {a.x, a.y, b.x, b.y};
}

Rect ClampCalendarRect(const Rect& r, Size wallpaper) {
  return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, wallpaper.width),
          std::min(r.bottom, wallpaper.height)};
}

bool StartsPictureDrag(bool leftButton, bool onFrame, const TImageProps& props) {
  return leftButton && !onFrame && !props.Tile && !props.Stretch;
}

int32_t DraggedOffset(int32_t offset, int32_t now, int32_t last, int32_t previewSize, int32_t wallpaperSize) {
  if (previewSize <= 0 || wallpaperSize <= 0) return offset;
  const double scale = static_cast<double>(previewSize) / wallpaperSize;
  return static_cast<int32_t>(Clamp<int64_t>(Trunc((double(now) - last) / scale + offset), INT32_MIN, INT32_MAX));
}

uint8_t HitTestFrame(const FrameRect& f, Point p) {
  const double x = p.x, y = p.y, h = kFrameHandle;
  if (x < f.left - h || x > f.right + h || y < f.top - h || y > f.bottom + h) return kFrameNone;
  uint8_t hit = 0;
  // On a frame too small for both handles the nearer edge wins.
  if (std::abs(x - f.left) <= h && std::abs(x - f.left) <= std::abs(x - f.right)) hit |= kFrameLeft;
  else if (std::abs(x - f.right) <= h) hit |= kFrameRight;
  if (std::abs(y - f.top) <= h && std::abs(y - f.top) <= std::abs(y - f.bottom)) hit |= kFrameTop;
  else if (std::abs(y - f.bottom) <= h) hit |= kFrameBottom;
  if (hit) return hit;
  return (x >= f.left && x <= f.right && y >= f.top && y <= f.bottom) ? kFrameMove : kFrameNone;
}

FrameRect DragFrame(const FrameRect& s, uint8_t hit, double dx, double dy) {
  FrameRect f = s;
  if (hit & kFrameMove) {
    f.left += dx, f.right += dx, f.top += dy, f.bottom += dy;
    return f;
  }
  if (hit & kFrameLeft) f.left = std::min(s.left + dx, s.right - 1);
  if (hit & kFrameRight) f.right = std::max(s.right + dx, s.left + 1);
  if (hit & kFrameTop) f.top = std::min(s.top + dy, s.bottom - 1);
  if (hit & kFrameBottom) f.bottom = std::max(s.bottom + dy, s.top + 1);
  return f;
}

Rect FrameToCalendarRect(const FrameRect& f, const PreviewMapping& mapping) {
  return mapping.ToWallpaper(Rect{Round32(f.left), Round32(f.top), Round32(f.right), Round32(f.bottom)});
}

}  // namespace ov
