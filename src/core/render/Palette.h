#pragma once
// Colour palettes for the 4- and 8-bit wallpaper files, and error-diffusion dithering
// of a surface onto a palette.
#include <cstdint>
#include <vector>

#include "core/render/Bitmap32.h"

namespace ov {

// Palette entries as opaque pixels 0xFFRRGGBB.
using Palette = std::vector<Pixel>;

// The standard 16-colour palette in its usual order (black, dark red, dark green, dark
// yellow, dark blue, dark magenta, dark cyan, light gray, gray, red, green, yellow,
// blue, magenta, cyan, white).
Palette StandardPalette16();

// Up to maxColors colours chosen for the picture: median cut over a 5-5-5 histogram
// whose bins remember their mean colour, then refined by a few k-means rounds. A picture
// with fewer distinct bins gets fewer entries; an empty one gets black.
Palette BuildAdaptivePalette(const TBitmap32& picture, int maxColors);

// Index of the palette entry closest to the colour (squared RGB distance; ties go to
// the lower index).
int NearestPaletteIndex(const Palette& palette, Pixel color);

// Floyd–Steinberg error diffusion in serpentine order: one palette index per pixel,
// rows top first. The palette must not be empty and hold at most 256 entries.
std::vector<uint8_t> DitherToPalette(const TBitmap32& picture, const Palette& palette);

}  // namespace ov
