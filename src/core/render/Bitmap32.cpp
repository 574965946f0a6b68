#include "core/render/Bitmap32.h"

#include <algorithm>
#include <cstring>

#include "core/render/Bands.h"

namespace ov {

void TBitmap32::SetSize(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) width = height = 0;
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  pixels_.shrink_to_fit();
  StoredChecksum.reset();
}

void TBitmap32::Reshape(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) {
    SetSize(width, height);
    return;
  }
  const size_t pixels = size_t(width) * size_t(height);
  if (pixels != pixels_.size()) {
    // The old buffer goes first, so the two are never held at once.
    pixels_.clear();
    pixels_.shrink_to_fit();
    pixels_.resize(pixels);
  }
  width_ = width;
  height_ = height;
  StoredChecksum.reset();
}

void TBitmap32::ReshapeInBufferOf(TBitmap32& from, int32_t width, int32_t height) {
  const size_t pixels = width > 0 && height > 0 ? size_t(width) * size_t(height) : 0;
  if (pixels != 0 && pixels != pixels_.size() && from.pixels_.capacity() >= pixels) {
    pixels_ = std::move(from.pixels_);
    pixels_.resize(pixels);
    width_ = width;
    height_ = height;
    StoredChecksum.reset();
    from.SetSize(0, 0);
    return;
  }
  Reshape(width, height);
}

void TBitmap32::MakeOpaque() { MakeOpaqueOutside({}); }

void TBitmap32::MakeOpaqueOutside(const Rect& done) {
  const Rect k = done.Intersect(BoundsRect());
  const size_t w = size_t(width_);
  ForEachBand(height_, 64, [this, w, &k](int64_t y0, int64_t y1) {
    auto opaque = [](Pixel* from, Pixel* to) {
      for (Pixel* p = from; p < to; ++p) *p |= 0xFF000000u;
    };
    for (int64_t y = y0; y < y1; ++y) {
      Pixel* row = pixels_.data() + size_t(y) * w;
      if (k.Empty() || y < k.top || y >= k.bottom) {
        opaque(row, row + w);
      } else {
        opaque(row, row + k.left);
        opaque(row + k.right, row + w);
      }
    }
  });
}

void TBitmap32::Clear(Pixel p) {
  const size_t w = size_t(width_);
  ForEachBand(height_, 64, [this, w, p](int64_t y0, int64_t y1) {
    std::fill(pixels_.data() + size_t(y0) * w, pixels_.data() + size_t(y1) * w, p);
  });
}

void TBitmap32::ClearOutside(const Rect& keep, Pixel p) {
  const Rect k = keep.Intersect(BoundsRect());
  if (k.Empty()) {
    Clear(p);
    return;
  }
  const size_t w = size_t(width_);
  ForEachBand(height_, 64, [this, w, p, &k](int64_t y0, int64_t y1) {
    for (int64_t y = y0; y < y1; ++y) {
      Pixel* row = pixels_.data() + size_t(y) * w;
      if (y < k.top || y >= k.bottom) {
        std::fill(row, row + w, p);
      } else {
        std::fill(row, row + k.left, p);
        std::fill(row + k.right, row + w, p);
      }
    }
  });
}

void TBitmap32::CopyWithin(const Rect& dstRect, const Rect& srcRect, const TBitmap32& src) {
  if (Empty() || src.Empty() || dstRect.Empty() || srcRect.Empty()) return;
  // Work in 64 bits: stored rectangles may hold any 32-bit values.
  int64_t w = std::min(dstRect.Width(), srcRect.Width());
  int64_t h = std::min(dstRect.Height(), srcRect.Height());
  int64_t sx = srcRect.left, sy = srcRect.top, dx = dstRect.left, dy = dstRect.top;
  // Clip against the source, then against the destination, moving both corners alike.
  auto clipStart = [&](int64_t& a, int64_t& b, int64_t& len) {
    if (a < 0) { len += a; b -= a; a = 0; }
  };
  clipStart(sx, dx, w);
  clipStart(sy, dy, h);
  clipStart(dx, sx, w);
  clipStart(dy, sy, h);
  w = std::min({w, int64_t(src.width_) - sx, int64_t(width_) - dx});
  h = std::min({h, int64_t(src.height_) - sy, int64_t(height_) - dy});
  if (w <= 0 || h <= 0) return;
  const size_t bytes = static_cast<size_t>(w) * sizeof(Pixel);
  // Within one surface a downward copy must walk from the bottom so no source row is
  // overwritten before it is read; memmove handles the overlap inside a row.
  if (&src == this && dy > sy) {
    for (int64_t y = h - 1; y >= 0; --y)
      std::memmove(Row(int32_t(dy + y)) + dx, src.Row(int32_t(sy + y)) + sx, bytes);
  } else {
    for (int64_t y = 0; y < h; ++y)
      std::memmove(Row(int32_t(dy + y)) + dx, src.Row(int32_t(sy + y)) + sx, bytes);
  }
}

}  // namespace ov
