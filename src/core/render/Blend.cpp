#include "core/render/Blend.h"

namespace ov {

void BlendSpanSolidReference(Pixel* dst, size_t n, Pixel color) {
  uint32_t a = AlphaOf(color);
  for (size_t i = 0; i < n; ++i) dst[i] = BlendPixel(color, a, dst[i]);
}

void BlendSpanSolid(Pixel* dst, size_t n, Pixel color) {
  uint32_t a = AlphaOf(color);
  if (a == 0) return;
  if (a == 255) {
    for (size_t i = 0; i < n; ++i) dst[i] = color;
    return;
  }
  // Two channels per 32-bit lane pair (red+blue, alpha+green): each 16-bit lane holds
  // at most 65025 + 128 + 254, so nothing carries into its neighbour. The source alpha
  // channel counts as 255 so an opaque destination stays opaque.
  const uint32_t ia = 255 - a;
  const uint32_t srb = (color & 0x00FF00FFu) * a + 0x00800080u;
  const uint32_t sag = (((color >> 8) & 0x000000FFu) | 0x00FF0000u) * a + 0x00800080u;
  for (size_t i = 0; i < n; ++i) {
    Pixel d = dst[i];
    if ((d >> 24) != 255) {
      dst[i] = BlendPixel(color, a, d);
      continue;
    }
    uint32_t rb = (d & 0x00FF00FFu) * ia + srb;
    uint32_t ag = ((d >> 8) & 0x00FF00FFu) * ia + sag;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    dst[i] = rb | ag;
  }
}

void BlendSpanMasterReference(const Pixel* src, Pixel* dst, size_t n, uint32_t master) {
  for (size_t i = 0; i < n; ++i) dst[i] = BlendPixel(src[i], Div255(AlphaOf(src[i]) * master), dst[i]);
}

void BlendSpanMaster(const Pixel* src, Pixel* dst, size_t n, uint32_t master) {
  if (master == 0) return;
  for (size_t i = 0; i < n; ++i) {
    Pixel s = src[i];
    uint32_t a = AlphaOf(s);
    if (master != 255) a = Div255(a * master);
    if (a == 255) {
      dst[i] = s;
      continue;
    }
    if (a == 0) continue;
    Pixel d = dst[i];
    if ((d >> 24) != 255) {
      dst[i] = BlendPixel(s, a, d);
      continue;
    }
    uint32_t ia = 255 - a;
    uint32_t rb = (d & 0x00FF00FFu) * ia + (s & 0x00FF00FFu) * a + 0x00800080u;
    uint32_t ag = ((d >> 8) & 0x00FF00FFu) * ia + (((s >> 8) & 0xFFu) | 0x00FF0000u) * a + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    dst[i] = rb | ag;
  }
}

}  // namespace ov
