#pragma once
// Pixel values and the colour functions shared by all drawing code.
// Pixel colours are 0xAARRGGBB; platform colours are 0x00BBGGRR, or 0xFF0000nn for
// system colour nn.
#include <cstdint>

namespace ov {

using Pixel = uint32_t;

constexpr Pixel kBlack32 = 0xFF000000;
constexpr Pixel kWhite32 = 0xFFFFFFFF;

constexpr uint32_t AlphaOf(Pixel p) { return p >> 24; }
constexpr uint32_t RedOf(Pixel p) { return (p >> 16) & 0xFF; }
constexpr uint32_t GreenOf(Pixel p) { return (p >> 8) & 0xFF; }
constexpr uint32_t BlueOf(Pixel p) { return p & 0xFF; }
constexpr Pixel MakeArgb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// True for a platform colour that names a system colour.
constexpr bool IsSystemColor(uint32_t winColor) { return (winColor & 0xFF000000u) == 0xFF000000u; }

// Platform colour to an opaque pixel; system colours are looked up first.
Pixel ToArgb(uint32_t winColor);
// Pixel to platform colour: red and blue swapped back, alpha dropped.
constexpr uint32_t ToWinColor(Pixel p) { return (BlueOf(p) << 16) | (GreenOf(p) << 8) | RedOf(p); }
// The pixel with its alpha byte replaced: alpha above 255 gives 255, below 0 gives 0.
constexpr Pixel WithAlpha(Pixel p, int32_t alpha) {
  uint32_t a = alpha < 0 ? 0u : (alpha > 255 ? 255u : static_cast<uint32_t>(alpha));
  return (p & 0x00FFFFFFu) | (a << 24);
}
// Perceived brightness 0..255: (R·61 + G·174 + B·21) >> 8.
constexpr int32_t Luminance(Pixel p) {
  return static_cast<int32_t>((RedOf(p) * 61 + GreenOf(p) * 174 + BlueOf(p) * 21) >> 8);
}

}  // namespace ov
