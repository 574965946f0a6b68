#include "core/images/Compose.h"

#include <algorithm>

#include "core/images/Adjustments.h"
#include "core/render/Resample.h"
#include "core/util/Numeric.h"

namespace ov {

namespace {

int32_t Hold32(int64_t v) { return static_cast<int32_t>(Clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// The screen size zoom and offsets refer to; a missing one counts as the destination's.
Size EffectiveScreen(Size screen, Size dst) {
  if (screen.width <= 0 || screen.height <= 0) return dst;
  return screen;
}

struct Scale {
  double sx, sy;
};

Scale BaseScale(Size dst, Size pic, Size screen, bool fit) {
  double k = 1;
  if (fit) k = std::min(double(screen.height) / pic.height, double(screen.width) / pic.width);
  return {double(dst.width) / screen.width * k, double(dst.height) / screen.height * k};
}

}  // namespace

ComposeSettings MakeComposeSettings(const Settings& s, Size screen, const OverlayImage* overlay) {
  ComposeSettings c;
  c.screen = screen;
  c.wallpaperAlpha = s.WallpaperAlpha;
  c.noBackground = s.NoBackground;
  c.desktopColor = ToArgb(static_cast<uint32_t>(s.DesktopColor));
  c.overlay = s.Overlay ? overlay : nullptr;
  return c;
}

Rect PicturePlacement(Size dst, Size pic, const TImageProps& p, Size screen) {
  screen = EffectiveScreen(screen, dst);
  const Scale s = BaseScale(dst, pic, screen, p.Fit);
  const int64_t w = Round(double(pic.width) * s.sx * p.Zoom / 100) + 1;
  const int64_t h = Round(double(pic.height) * s.sy * p.Zoom / 100) + 1;
  const int64_t cx = (int64_t(dst.width) - w) / 2;  // truncates toward zero
  const int64_t cy = (int64_t(dst.height) - h) / 2;
  const int64_t dx = Round(double(p.OffsetX) * dst.width / screen.width);
  const int64_t x0 = p.FlipHorz ? cx - dx : cx + dx;
  const int64_t y0 = cy + Round(double(p.OffsetY) * dst.height / screen.height);
  return {Hold32(x0), Hold32(y0), Hold32(x0 + w), Hold32(y0 + h)};
}

Rect OpaquelyPlaced(Size dst, Size pic, const TImageProps& stored, ImageSlot slot, const ComposeSettings& settings) {
  if (dst.width <= 0 || dst.height <= 0 || pic.width <= 0 || pic.height <= 0 || settings.noBackground) return {};
  if (slot == ImageSlot::Current && Clamp(settings.wallpaperAlpha, 0, 255) != 255) return {};
  const TImageProps p = WorkingImageProps(stored);
  const Rect whole{0, 0, dst.width, dst.height};
  if (p.Tile) return {};
  if (p.Stretch) return whole;
  return PicturePlacement(dst, pic, p, EffectiveScreen(settings.screen, dst)).Intersect(whole);
}

void RepeatTile(TBitmap32& surface, int32_t tileW, int32_t tileH) {
  const int32_t dw = surface.Width(), dh = surface.Height();
  tileW = std::min(tileW, dw);
  tileH = std::min(tileH, dh);
  if (tileW < 1 || tileH < 1) return;
  // The result is periodic in the tile, so the first tile is doubled across the first
  // band of rows and the band down the surface: the same pixels as copying it tile by
  // tile, in a logarithmic number of copies even for a one-pixel tile.
  for (int64_t filled = tileW; filled < dw; filled *= 2) {
    const int32_t x = static_cast<int32_t>(filled);
    surface.CopyWithin({x, 0, Hold32(2 * filled), tileH}, {0, 0, x, tileH}, surface);
  }
  for (int64_t filled = tileH; filled < dh; filled *= 2) {
    const int32_t y = static_cast<int32_t>(filled);
    surface.CopyWithin({0, y, dw, Hold32(2 * filled)}, {0, 0, dw, y}, surface);
  }
}

void ComposeImage(TBitmap32& dst, TBitmap32& picture, const TImageProps& stored, StretchFilter filter,
                  ImageSlot slot, bool adjust, const ComposeSettings& settings) {
  Rect adjusted;
  if (PlaceImage(dst, picture, stored, filter, slot, settings, adjust ? &adjusted : nullptr))
    FinishImage(dst, stored, filter, slot, adjust, settings, adjusted);
}

bool PlaceImage(TBitmap32& dst, TBitmap32& picture, const TImageProps& stored, StretchFilter filter, ImageSlot slot,
                const ComposeSettings& settings, Rect* adjusted) {
  if (adjusted) *adjusted = {};
  if (dst.Empty() || picture.Empty()) return false;

  picture.MasterAlpha = 255;
  DrawMode mode = DrawMode::Opaque;
  if (slot == ImageSlot::Current) {
    picture.MasterAlpha = static_cast<uint8_t>(Clamp(settings.wallpaperAlpha, 0, 255));
    if (picture.MasterAlpha != 255) mode = DrawMode::Blend;
  }
  picture.Mode = mode;

  if (settings.noBackground) {
    dst.FillRectOpaque(dst.BoundsRect(), settings.desktopColor);
    return false;
  }

  const TImageProps p = WorkingImageProps(stored);
  const Size dsz{dst.Width(), dst.Height()}, psz{picture.Width(), picture.Height()};
  const Size screen = EffectiveScreen(settings.screen, dsz);
  const Rect whole = picture.BoundsRect();

  if (p.Tile) {
    Scale s = BaseScale(dsz, psz, screen, p.Fit);
    s.sx *= p.Zoom / 100.0;
    s.sy *= p.Zoom / 100.0;
    const int32_t tileW = Hold32(Round(double(psz.width) * s.sx));
    const int32_t tileH = Hold32(Round(double(psz.height) * s.sy));
    ResampleInto(dst, {0, 0, tileW, tileH}, picture, whole, filter, mode);
    RepeatTile(dst, tileW, tileH);
    dst.MakeOpaque();
    return true;
  }
  const Rect placement = p.Stretch ? dst.BoundsRect() : PicturePlacement(dsz, psz, p, screen);
  ColourTables tables;
  if (adjusted && mode == DrawMode::Opaque && FixedColourTables(p, tables)) {
    // The written rows come out opaque and adjusted, one memory pass instead of three.
    *adjusted = ResampleIntoFinishing(dst, placement, picture, whole, filter, [&tables](Pixel* row, size_t n) {
      ApplyColourTablesOpaque(row, n, tables);
    });
  } else {
    ResampleInto(dst, placement, picture, whole, filter, mode);
  }
  // A picture with transparent parts leaves them in the surface, but the wallpaper file
  // has no alpha and shows their colour as it is: everything drawn later (the next
  // picture, the overlay, the calendar) blends over what will be seen, not over a hole.
  dst.MakeOpaqueOutside(adjusted ? *adjusted : Rect{});
  return true;
}

void FinishImage(TBitmap32& dst, const TImageProps& stored, StretchFilter filter, ImageSlot slot, bool adjust,
                 const ComposeSettings& settings, const Rect& adjusted) {
  const TImageProps p = WorkingImageProps(stored);
  if (adjust) {
    AdjustColoursOutside(dst, p, adjusted);
    if (slot == ImageSlot::Current && settings.overlay) settings.overlay->Blend(dst, filter, p.DisableOverlay);
  }
  if (p.FlipHorz) MirrorRows(dst);
}

}  // namespace ov
