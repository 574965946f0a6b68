// Fills, frames and bevels of TBitmap32.
#include <algorithm>

#include "core/render/Bands.h"
#include "core/render/Bitmap32.h"
#include "core/render/Blend.h"
#include "core/util/Numeric.h"

namespace ov {

void TBitmap32::FillRectOpaque(const Rect& r, Pixel p) {
  Rect c = r.Intersect(BoundsRect());
  if (c.Empty()) return;
  for (int32_t y = c.top; y < c.bottom; ++y) std::fill(Row(y) + c.left, Row(y) + c.right, p);
}

void TBitmap32::FillRectBlend(const Rect& r, Pixel p) {
  if (AlphaOf(p) == 0) return;
  Rect c = r.Intersect(BoundsRect());
  if (c.Empty()) return;
  // A panel's background covers millions of pixels: in bands of at least 32K pixels on
  // every core; a cell's frame or a small box stays on the caller.
  const int64_t width = c.right - c.left;
  ForEachBand(c.bottom - c.top, std::max<int64_t>(1, 32768 / width), [&](int64_t first, int64_t last) {
    for (int64_t y = c.top + first; y < c.top + last; ++y) BlendSpanSolid(Row(int32_t(y)) + c.left, size_t(width), p);
  });
}

void TBitmap32::BlendHLine(int32_t x0, int32_t x1, int32_t y, Pixel p) {
  if (y < 0 || y >= height_) return;
  x0 = std::max(x0, 0);
  x1 = std::min(x1, width_);
  if (x0 < x1) BlendSpanSolid(Row(y) + x0, size_t(x1 - x0), p);
}

void TBitmap32::BlendVLine(int32_t x, int32_t y0, int32_t y1, Pixel p) {
  if (x < 0 || x >= width_) return;
  y0 = std::max(y0, 0);
  y1 = std::min(y1, height_);
  for (int32_t y = y0; y < y1; ++y) BlendSpanSolid(Row(y) + x, 1, p);
}

void TBitmap32::FrameRectBlend(const Rect& r, Pixel p) {
  if (r.Empty() || AlphaOf(p) == 0) return;
  // r is not empty, so right − 1 and top + 1 cannot overflow.
  BlendHLine(r.left, r.right, r.top, p);
  if (r.Height() > 1) BlendHLine(r.left, r.right, r.bottom - 1, p);
  if (r.Height() > 2) {
    BlendVLine(r.left, r.top + 1, r.bottom - 1, p);
    if (r.Width() > 1) BlendVLine(r.right - 1, r.top + 1, r.bottom - 1, p);
  }
}

void TBitmap32::BevelRect(const Rect& r, int32_t contrast) {
  if (r.Empty() || contrast == 0) return;
  const int32_t k = Clamp(contrast, -100, 100);
  const int32_t strong = Clamp(std::abs(k) * 512 / 100, 0, 255);
  const int32_t weak = Clamp(std::abs(k) * 255 / 100, 0, 255);
  const Pixel light = k > 0 ? WithAlpha(kWhite32, strong) : WithAlpha(kBlack32, weak);
  const Pixel dark = k > 0 ? WithAlpha(kBlack32, weak) : WithAlpha(kWhite32, strong);
  BlendHLine(r.left, r.right, r.top, light);
  BlendVLine(r.left, r.top + 1, r.bottom, light);
  if (r.Height() > 1) BlendHLine(r.left + 1, r.right, r.bottom - 1, dark);
  if (r.Width() > 1) BlendVLine(r.right - 1, r.top + 1, r.bottom - 1, dark);
}

}  // namespace ov
