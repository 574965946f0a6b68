#pragma once
// Pixel-for-pixel comparison of two surfaces, for the render and picture tests.
#include "core/render/Bitmap32.h"

namespace ov::test {

inline bool SamePixels(const TBitmap32& a, const TBitmap32& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x)
      if (a.At(x, y) != b.At(x, y)) return false;
  return true;
}

}  // namespace ov::test
