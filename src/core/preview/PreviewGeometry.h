#pragma once
// Geometry of the configuration window's preview: where the preview sits in its panel,
// the mapping between preview and wallpaper pixels, dragging the picture and the
// rubber-band frame that places the calendar panel.
#include <cstdint>

#include "core/images/ImageProps.h"
#include "core/util/Rect.h"

namespace ov {

// The preview at the picture's aspect w : h inside a client area of clientW x clientH with
// a border of `border` pixels: full width when the height fits, otherwise full height and
// centred horizontally; never smaller than 4 x 4. left/top/right/bottom are client pixels.
Rect LayoutPreviewRect(int32_t w, int32_t h, int32_t clientW, int32_t clientH, int32_t border = 0);

// Mapping between preview pixels and target (wallpaper) pixels, rounding half to even.
// A zero size on either side maps everything to 0.
class PreviewMapping {
 public:
  PreviewMapping(Size preview, Size target) : preview_(preview), target_(target) {}
  Point ToPreview(Point wallpaper) const;
  Point ToWallpaper(Point preview) const;
  Rect ToPreview(const Rect& wallpaper) const;
  Rect ToWallpaper(const Rect& preview) const;

 private:
  Size preview_, target_;
};

// The calendar rectangle held inside the wallpaper: left and top not below 0, right and
// bottom not beyond the wallpaper's size.
Rect ClampCalendarRect(const Rect& r, Size wallpaper);

// A press on the preview drags the picture only with the left button, off the panel frame,
// and when the picture is neither tiled nor stretched.
bool StartsPictureDrag(bool leftButton, bool onFrame, const TImageProps& props);

// The offset after the mouse moved from `last` to `now` (preview pixels) along one axis:
// trunc((now - last) / (previewSize / wallpaperSize) + offset).
int32_t DraggedOffset(int32_t offset, int32_t now, int32_t last, int32_t previewSize, int32_t wallpaperSize);

// Which part of the rubber-band frame a point falls on. Edges and corners are handles
// reaching kFrameHandle pixels either side of the edge line; inside them the frame moves.
inline constexpr int32_t kFrameHandle = 4;
enum FrameHit : uint8_t {
  kFrameNone = 0,
  kFrameLeft = 1,
  kFrameTop = 2,
  kFrameRight = 4,
  kFrameBottom = 8,
  kFrameMove = 16,
};

struct FrameRect {
  double left = 0, top = 0, right = 0, bottom = 0;
};

uint8_t HitTestFrame(const FrameRect& frame, Point p);

// The frame after a drag of (dx, dy) preview pixels that began on `hit`: a move shifts the
// whole frame, a handle moves its edges. Edges never cross (at least one pixel remains);
// nothing else limits the frame while dragging.
FrameRect DragFrame(const FrameRect& start, uint8_t hit, double dx, double dy);

// What a user change of the frame stores: each edge rounded to whole preview pixels, then
// mapped to wallpaper pixels.
Rect FrameToCalendarRect(const FrameRect& frame, const PreviewMapping& mapping);

}  // namespace ov
