#pragma once
// Small helpers shared by the render tests.
#include <cstdint>

#include "core/render/Bitmap32.h"
#include "support/SamePixels.h"

namespace ov::test {

// A deterministic pseudo-random sequence (LCG) for seeded inputs.
class Lcg {
 public:
  explicit Lcg(uint32_t seed) : s_(seed) {}
  uint32_t Next() { s_ = s_ * 1664525u + 1013904223u; return s_ ^ (s_ >> 15); }
  int32_t Range(int32_t lo, int32_t hi) { return lo + int32_t(Next() % uint32_t(hi - lo + 1)); }

 private:
  uint32_t s_;
};

// A surface of random pixels; opaque unless withAlpha.
inline TBitmap32 RandomSurface(int32_t w, int32_t h, Lcg& rng, bool withAlpha) {
  TBitmap32 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      Pixel p = rng.Next();
      b.At(x, y) = withAlpha ? p : (p | 0xFF000000u);
    }
  return b;
}

}  // namespace ov::test
