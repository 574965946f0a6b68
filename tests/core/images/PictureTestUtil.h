#pragma once
// Small pictures for the image tests.
#include <cstdint>
#include <random>

#include "core/render/Bitmap32.h"
#include "support/SamePixels.h"

namespace ov::test {

inline TBitmap32 Filled(int32_t w, int32_t h, Pixel p) {
  TBitmap32 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b.At(x, y) = p;
  return b;
}

// Every pixel different: x in blue, y in green, a seeded byte in red.
inline TBitmap32 Numbered(int32_t w, int32_t h, uint32_t alpha = 255) {
  TBitmap32 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b.At(x, y) = MakeArgb(alpha, (x * 7 + y * 13) & 0xFF, y & 0xFF, x & 0xFF);
  return b;
}

inline TBitmap32 Random(int32_t w, int32_t h, uint32_t seed) {
  std::mt19937 rng(seed);
  TBitmap32 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b.At(x, y) = static_cast<Pixel>(rng());
  return b;
}

}  // namespace ov::test
