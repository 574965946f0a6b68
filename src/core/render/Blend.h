#pragma once
// Blending helpers named by shape: one pixel, a span of one colour, a span of source
// pixels with master alpha. "Over" with 8-bit precision: over an opaque destination the
// colour is Round((S·a + D·(255 − a)) / 255) and the result stays opaque; over a
// translucent destination colour and alpha follow the usual "over" rule.
#include <cstddef>
#include <cstdint>

#include "core/render/Color.h"

namespace ov {

// x / 255 rounded to nearest, exact for 0 <= x <= 65535.
constexpr uint32_t Div255(uint32_t x) {
  x += 128;
  return (x + (x >> 8)) >> 8;
}

// Source colour s (its own alpha ignored) with coverage a over d.
inline Pixel BlendPixel(Pixel s, uint32_t a, Pixel d) {
  if (a >= 255) return s | 0xFF000000u;
  if (a == 0) return d;
  uint32_t da = AlphaOf(d);
  if (da == 255) {
    uint32_t ia = 255 - a;
    uint32_t r = Div255(RedOf(s) * a + RedOf(d) * ia);
    uint32_t g = Div255(GreenOf(s) * a + GreenOf(d) * ia);
    uint32_t b = Div255(BlueOf(s) * a + BlueOf(d) * ia);
    return MakeArgb(255, r, g, b);
  }
  // Translucent destination: weights a·255 for the source and da·(255 − a) for what
  // shows through, so a transparent destination takes the source colour unchanged.
  uint32_t ws = a * 255;
  uint32_t wd = da * (255 - a);
  uint32_t total = ws + wd;
  uint32_t half = total / 2;
  uint32_t r = (RedOf(s) * ws + RedOf(d) * wd + half) / total;
  uint32_t g = (GreenOf(s) * ws + GreenOf(d) * wd + half) / total;
  uint32_t b = (BlueOf(s) * ws + BlueOf(d) * wd + half) / total;
  return MakeArgb(a + Div255(da * (255 - a)), r, g, b);
}

// s over d using s's own alpha.
inline Pixel BlendOver(Pixel s, Pixel d) { return BlendPixel(s, AlphaOf(s), d); }

// color (with its alpha) over n pixels.
void BlendSpanSolid(Pixel* dst, size_t n, Pixel color);

// n source pixels over dst, each with its alpha × master / 255.
void BlendSpanMaster(const Pixel* src, Pixel* dst, size_t n, uint32_t master);

// Plain scalar versions the span routines must match exactly.
void BlendSpanSolidReference(Pixel* dst, size_t n, Pixel color);
void BlendSpanMasterReference(const Pixel* src, Pixel* dst, size_t n, uint32_t master);

}  // namespace ov
