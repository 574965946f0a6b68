#pragma once
// The colour adjustments of a picture's properties, run over a whole surface after the
// picture is placed: grayscale, equalise, the tone curve with the colour shift, and the
// final left-right mirror. Only the blue, green and red bytes change; alpha stays.
#include <array>
#include <cstdint>

#include "core/images/ImageProps.h"
#include "core/render/Bitmap32.h"

namespace ov {

using ByteTable = std::array<uint8_t, 256>;

// Gray value of the grayscale step: (R*76 + G*150 + B*29) >> 8.
constexpr uint32_t GrayValue(uint32_t r, uint32_t g, uint32_t b) { return (r * 76 + g * 150 + b * 29) >> 8; }
// Brightness measure of the equalise step: (R*61 + G*174 + B*20) >> 8.
constexpr uint32_t EqualizeLuminance(uint32_t r, uint32_t g, uint32_t b) { return (r * 61 + g * 174 + b * 20) >> 8; }

// The equalise table for the darkest and brightest measure found; nullopt-like identity
// (returned as false) when hi - lo < 2 and the step changes nothing.
bool BuildEqualizeTable(uint32_t lo, uint32_t hi, ByteTable& table);

// The tone curve in single precision: gamma = 10^(-Gamma/10), then for t = i/255
// v = (t^gamma - 0.5) * (1 + Contrast/100) + 0.5 + Brightness/100, entry = Round(v*255)
// held to 0..255. Gamma must be finite (see WorkingImageProps).
ByteTable BuildToneTable(double gamma, int32_t contrast, int32_t brightness);

// The amount a colour setting adds to its channel: Trunc(value * 2.55), computed exactly
// and held to -255..255 (any larger amount saturates the channel just the same).
int32_t ColourShiftAmount(int32_t value);

// Grayscale, equalise and tone curve with colour shift as the properties ask, in that
// order, over the whole surface. The properties must be working values.
void AdjustColours(TBitmap32& surface, const TImageProps& props);

// What the tone curve and the colour shift do to each channel, as tables.
struct ColourTables {
  ByteTable red, green, blue;
};

// The tables the adjustments come to when they need no look at the picture first (no
// grayscale, no equalise): then they can be applied row by row as the picture is drawn.
// False when they do need one.
bool FixedColourTables(const TImageProps& props, ColourTables& tables);

// The tables applied to `count` pixels, each made opaque on the way.
void ApplyColourTablesOpaque(Pixel* row, size_t count, const ColourTables& tables);

// AdjustColours over the surface except `done`, whose pixels were adjusted already
// (through ApplyColourTablesOpaque with the properties' fixed tables).
void AdjustColoursOutside(TBitmap32& surface, const TImageProps& props, const Rect& done);

// Mirrors every row left to right.
void MirrorRows(TBitmap32& surface);

// Plain one-step-per-pass versions, kept as the reference the fused AdjustColours must
// match exactly.
namespace reference {
void GrayScale(TBitmap32& surface);
void Equalize(TBitmap32& surface);
void ToneCurve(TBitmap32& surface, const TImageProps& props);
void AdjustColours(TBitmap32& surface, const TImageProps& props);
}  // namespace reference

}  // namespace ov
