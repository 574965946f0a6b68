// The wallpaper file writer at every depth, for pictures built from the input, checked by
// an independent reader: the headers describe the file exactly, palette indices stay
// inside the palette, row padding is zero, and the direct-colour depths hold each pixel.
#include <set>

#include "FuzzCheck.h"
#include "core/images/ImageHeader.h"
#include "core/render/BmpWriter.h"
#include "core/render/Color.h"

namespace {

uint32_t Get16(const std::string& b, size_t at) { return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8; }
uint32_t Get32(const std::string& b, size_t at) { return Get16(b, at) | Get16(b, at + 2) << 16; }
uint32_t Scale(uint32_t v, uint32_t maxOut) { return (v * maxOut + 127) / 255; }

// Pixel (x, y) of the file as 0xRRGGBB, or the palette index for palette depths.
uint32_t StoredValueAt(const std::string& f, uint32_t x, uint32_t y) {
  const uint32_t w = Get32(f, 18), h = Get32(f, 22), bpp = Get16(f, 28), off = Get32(f, 10);
  const size_t stride = ((size_t(w) * bpp + 31) / 32) * 4;
  const size_t row = off + size_t(h - 1 - y) * stride;
  switch (bpp) {
    case 4: return x % 2 ? uint8_t(f[row + x / 2]) & 15 : uint8_t(f[row + x / 2]) >> 4;
    case 8: return uint8_t(f[row + x]);
    case 16: return Get16(f, row + 2 * size_t(x));
    default: return Get32(f, row + 3 * size_t(x)) & 0xFFFFFF;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ov;
  fuzz::Input in(data, size);
  const int mode = in.Byte() % 5;
  const int32_t w = 1 + in.Byte() % 40, h = 1 + in.Byte() % 40;
  // A few colours the pixels pick from, so that palettes are both exact and too small.
  const size_t colours = 1 + in.Byte() % 64;
  // Colours on a grid of 8 levels, when the input says so: the palette builder counts
  // colours in cells of 8 levels and the ditherer looks nearest entries up per cell of 2,
  // so only colours that far apart are sure to keep their exact values.
  const bool coarse = in.Byte() & 1;
  std::vector<Pixel> pick(colours);
  for (Pixel& p : pick) p = coarse ? in.U32() & 0xFFF8F8F8u : in.U32();
  TBitmap32 picture(w, h);
  std::set<uint32_t> distinct;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      picture.At(x, y) = pick[in.Byte() % colours];
      distinct.insert(picture.At(x, y) & 0xFFFFFF);
    }

  // One depth per input: the palette depths cost far more than the others.
  {
    const BmpDepth depth = BmpDepthFromPixelMode(mode);
    const uint32_t bpp = uint32_t(BitsPerPixel(depth));
    const std::string f = EncodeBmp(picture, depth);
    FUZZ_CHECK(f.size() >= 54 && f[0] == 'B' && f[1] == 'M');
    FUZZ_CHECK(Get32(f, 2) == f.size());
    FUZZ_CHECK(Get32(f, 14) == 40 && Get32(f, 18) == uint32_t(w) && Get32(f, 22) == uint32_t(h));
    FUZZ_CHECK(Get16(f, 26) == 1 && Get16(f, 28) == bpp);
    const uint32_t clrUsed = Get32(f, 46), compression = Get32(f, 30);
    const bool masks = depth == BmpDepth::Bits16;  // 5-6-5 with its three masks
    const size_t table = masks ? 12 : size_t(clrUsed) * 4;
    FUZZ_CHECK(Get32(f, 10) == 54 + table);
    const size_t stride = ((size_t(w) * bpp + 31) / 32) * 4;
    FUZZ_CHECK(Get32(f, 34) == stride * size_t(h) && f.size() == 54 + table + stride * size_t(h));
    FUZZ_CHECK(compression == (masks ? 3u : 0u));
    if (bpp <= 8) FUZZ_CHECK(clrUsed >= 1 && clrUsed <= (1u << bpp));
    else FUZZ_CHECK(clrUsed == 0);

    const ImageHeaderInfo info = ReadImageHeader(f);
    FUZZ_CHECK(info.format == ImageFormat::Bmp && info.width == w && info.height == h);

    // Padding after each row's pixels is zero.
    const size_t used = (size_t(w) * bpp + 7) / 8;
    for (int32_t y = 0; y < h; ++y)
      for (size_t i = used; i < stride; ++i) FUZZ_CHECK(f[54 + table + size_t(y) * stride + i] == 0);

    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        const Pixel p = picture.At(x, y);
        const uint32_t v = StoredValueAt(f, uint32_t(x), uint32_t(y));
        switch (depth) {
          case BmpDepth::Bits4:
          case BmpDepth::Bits8: {
            FUZZ_CHECK(v < clrUsed);
            // A palette that can hold every colour of the picture holds each exactly.
            if (coarse && distinct.size() <= (1u << bpp))
              FUZZ_CHECK((Get32(f, 54 + 4 * size_t(v)) & 0xFFFFFF) == (p & 0xFFFFFF));
            break;
          }
          case BmpDepth::Bits15:
            FUZZ_CHECK(v == ((Scale(RedOf(p), 31) << 10) | (Scale(GreenOf(p), 31) << 5) | Scale(BlueOf(p), 31)));
            break;
          case BmpDepth::Bits16:
            FUZZ_CHECK(v == ((Scale(RedOf(p), 31) << 11) | (Scale(GreenOf(p), 63) << 5) | Scale(BlueOf(p), 31)));
            break;
          case BmpDepth::Bits24: FUZZ_CHECK(v == (p & 0xFFFFFF)); break;
        }
      }
  }
  return 0;
}
