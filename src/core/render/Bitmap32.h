#pragma once
// TBitmap32: the 32-bit raster surface all composition happens on. Pixels are
// 0xAARRGGBB (bytes blue, green, red, alpha in memory), top row first, rows without gaps.
// Every drawing operation clips to the surface; rectangles are left/top inclusive,
// right/bottom exclusive.
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "core/render/Color.h"
#include "core/render/FontSpec.h"
#include "core/util/Rect.h"

namespace ov {

enum class DrawMode { Opaque, Blend };          // dmOpaque, dmBlend
enum class StretchFilter { Nearest, Linear2, Spline };  // sfNearest, sfLinear2, sfSpline

// An allocator whose value-initialised elements are left as the memory holds them: a
// surface that its first pass writes in full skips a zeroing pass over tens of megabytes,
// and that first pass (in bands, on every core) is the one that brings the pages in.
template <class T>
struct UninitializedAllocator : std::allocator<T> {
  template <class U>
  struct rebind {
    using other = UninitializedAllocator<U>;
  };
  UninitializedAllocator() = default;
  template <class U>
  UninitializedAllocator(const UninitializedAllocator<U>&) noexcept {}
  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

class TBitmap32 {
 public:
  TBitmap32() = default;
  TBitmap32(int32_t width, int32_t height) { SetSize(width, height); }

  // Reallocates; the contents are undefined until cleared or drawn. A negative size
  // counts as 0, and a surface with either side 0 is empty.
  void SetSize(int32_t width, int32_t height);
  // For a caller that writes every pixel next: a surface that already holds as many
  // pixels keeps its buffer (and its old pixels), and a new buffer is not zeroed.
  void Reshape(int32_t width, int32_t height);
  // Reshape, taking over `from`'s buffer when that holds enough pixels and this one's
  // is not already the size: a buffer the process has written costs nothing to reuse,
  // where a new one costs a page fault at the first touch of each page. `from` is then
  // empty; otherwise it stays as it was.
  void ReshapeInBufferOf(TBitmap32& from, int32_t width, int32_t height);
  // Bytes of the pixel buffer held, which may be more than the pixels in use.
  size_t BufferBytes() const { return pixels_.capacity() * sizeof(Pixel); }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  Rect BoundsRect() const { return {0, 0, width_, height_}; }

  Pixel* Bits() { return pixels_.data(); }
  const Pixel* Bits() const { return pixels_.data(); }
  Pixel* Row(int32_t y) { return pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_); }
  const Pixel* Row(int32_t y) const { return pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_); }
  Pixel& At(int32_t x, int32_t y) { return Row(y)[x]; }
  Pixel At(int32_t x, int32_t y) const { return Row(y)[x]; }

  // Every pixel = p.
  void Clear(Pixel p);
  // Every pixel outside `keep` = p; those inside stay as they are.
  void ClearOutside(const Rect& keep, Pixel p);
  // Every pixel's alpha = 255, its colour kept: the surface as a picture without alpha
  // (a wallpaper file) shows it.
  void MakeOpaque();
  // The same except inside `done`, which is known to be opaque already.
  void MakeOpaqueOutside(const Rect& done);
  // p written into r.
  void FillRectOpaque(const Rect& r, Pixel p);
  // p blended over every pixel of r with p's alpha.
  void FillRectBlend(const Rect& r, Pixel p);
  // p blended over the one-pixel outline of r (right and bottom edges at right − 1 and
  // bottom − 1), each outline pixel once.
  void FrameRectBlend(const Rect& r, Pixel p);
  // A raised (contrast > 0) or sunken (< 0) one-pixel edge, contrast −100..100: the top
  // row and the left column below it take the light colour, the rest of the bottom row
  // and of the right column the dark one; every edge pixel is blended once.
  void BevelRect(const Rect& r, int32_t contrast);
  // Opaque unscaled copy of srcRect of src to dstRect's top-left corner, at most the
  // smaller of the two sizes, clipped to both surfaces. src may be this surface, with
  // overlapping rectangles.
  void CopyWithin(const Rect& dstRect, const Rect& srcRect, const TBitmap32& src);

  // State used when this surface is drawn onto another one.
  uint8_t MasterAlpha = 255;
  DrawMode Mode = DrawMode::Opaque;
  StretchFilter Filter = StretchFilter::Nearest;
  FontSpec Font;  // font and colour for text drawn onto this surface
  // The checksum of a decoded picture's pixels as its file stores them, kept when the
  // decoder turned the picture upright, so its per-picture settings are found by the
  // same name as in any other installation. Empty: take it from the pixels. Every
  // SetSize forgets it.
  std::optional<uint32_t> StoredChecksum;

 private:
  void BlendHLine(int32_t x0, int32_t x1, int32_t y, Pixel p);  // [x0, x1) on row y, clipped
  void BlendVLine(int32_t x, int32_t y0, int32_t y1, Pixel p);  // [y0, y1) in column x, clipped

  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<Pixel, UninitializedAllocator<Pixel>> pixels_;
};

}  // namespace ov
