#pragma once
// Photograph-like test pictures for the benchmarks: smooth shading, soft edges and a
// little grain, deterministic for a given size.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/render/Bitmap32.h"

namespace ov::bench {

inline TBitmap32 PhotoLike(int32_t w, int32_t h) {
  TBitmap32 b(w, h);
  uint32_t seed = 2024;
  for (int32_t y = 0; y < h; ++y) {
    Pixel* row = b.Row(y);
    for (int32_t x = 0; x < w; ++x) {
      double u = double(x) / w, v = double(y) / h;
      seed = seed * 1664525u + 1013904223u;
      double grain = double((seed >> 24) & 15) - 7.5;
      double sky = 200 - 120 * v + 20 * std::sin(9 * u + 3 * v);
      double hill = v > 0.55 + 0.1 * std::sin(7 * u) ? 1.0 : 0.0;
      double r = hill ? 60 + 50 * std::sin(20 * u * v) : sky * 0.55;
      double g = hill ? 110 + 40 * std::cos(13 * u) : sky * 0.75;
      double bl = hill ? 40 + 30 * v : sky;
      auto c = [&](double t) { return uint32_t(std::lround(std::fmin(255, std::fmax(0, t + grain)))); };
      row[x] = MakeArgb(255, c(r), c(g), c(bl));
    }
  }
  return b;
}

// Writes a binary PPM (P6), the simplest picture file the comparison tools read.
inline bool WritePpm(const TBitmap32& b, const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::fprintf(f, "P6\n%d %d\n255\n", b.Width(), b.Height());
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x) {
      Pixel p = b.At(x, y);
      unsigned char rgb[3] = {uint8_t(RedOf(p)), uint8_t(GreenOf(p)), uint8_t(BlueOf(p))};
      std::fwrite(rgb, 1, 3, f);
    }
  return std::fclose(f) == 0;
}

}  // namespace ov::bench
