#pragma once
// TBitmap32: the 32-bit raster surface all composition happens on. Pixels are
// 0xAARRGGBB (bytes blue, green, red, alpha in memory), top row first, rows without gaps.
#include <cstdint>
#include <vector>

#include "core/render/FontSpec.h"
#include "core/util/Rect.h"

namespace ov {

using Pixel = uint32_t;

enum class DrawMode { Opaque, Blend };          // dmOpaque, dmBlend
enum class StretchFilter { Nearest, Linear2, Spline };  // sfNearest, sfLinear2, sfSpline

class TBitmap32 {
 public:
  TBitmap32() = default;
  TBitmap32(int32_t width, int32_t height) { SetSize(width, height); }

  // Reallocates; the contents are undefined until cleared or drawn. A negative size
  // counts as 0, and a surface with either side 0 is empty.
  void SetSize(int32_t width, int32_t height);
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

  // State used when this surface is drawn onto another one.
  uint8_t MasterAlpha = 255;
  DrawMode Mode = DrawMode::Opaque;
  StretchFilter Filter = StretchFilter::Nearest;
  FontSpec Font;  // font and colour for text drawn onto this surface

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<Pixel> pixels_;
};

}  // namespace ov
