#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "RenderTestUtil.h"
#include "core/render/BmpWriter.h"
#include "core/render/Palette.h"

namespace ov {
namespace {

uint32_t Get16(const std::string& b, size_t at) {
  return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8;
}
uint32_t Get32(const std::string& b, size_t at) { return Get16(b, at) | Get16(b, at + 2) << 16; }

// An independent reader of what the writer produces: pixel (x, y) back as 0xRRGGBB,
// channels expanded from 5 or 6 bits by the usual replication.
uint32_t ReadPixel(const std::string& f, int32_t x, int32_t y) {
  const uint32_t w = Get32(f, 18), h = Get32(f, 22), bpp = Get16(f, 28), off = Get32(f, 10);
  const size_t stride = ((w * bpp + 31) / 32) * 4;
  const size_t row = off + (h - 1 - uint32_t(y)) * stride;
  auto pal = [&](uint32_t i) { return Get32(f, 54 + 4 * i) & 0xFFFFFF; };
  switch (bpp) {
    case 4: {
      uint8_t v = uint8_t(f[row + size_t(x) / 2]);
      return pal(x % 2 ? v & 15 : v >> 4);
    }
    case 8: return pal(uint8_t(f[row + size_t(x)]));
    case 16: {
      uint32_t v = Get16(f, row + 2 * size_t(x));
      if (Get32(f, 30) == 3) {  // 5-6-5
        uint32_t r = v >> 11, g = (v >> 5) & 63, b = v & 31;
        return ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
      }
      uint32_t r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
      return ((r << 3 | r >> 2) << 16) | ((g << 3 | g >> 2) << 8) | (b << 3 | b >> 2);
    }
    default:
      return uint32_t(uint8_t(f[row + 3 * size_t(x)])) | uint32_t(uint8_t(f[row + 3 * size_t(x) + 1])) << 8 |
             uint32_t(uint8_t(f[row + 3 * size_t(x) + 2])) << 16;
  }
}

TBitmap32 Corners(int32_t w, int32_t h) {
  TBitmap32 b(w, h);
  b.Clear(0xFF808080);
  b.At(0, 0) = 0xFFFF0000;          // top-left red
  b.At(w - 1, 0) = 0xFF00FF00;      // top-right green
  b.At(0, h - 1) = 0xFF0000FF;      // bottom-left blue
  b.At(w - 1, h - 1) = 0x00FFFFFF;  // bottom-right white, alpha ignored
  return b;
}

class BmpDepthTest : public ::testing::TestWithParam<int> {};

TEST_P(BmpDepthTest, HeadersRowsAndPaddingAreRight) {
  const BmpDepth depth = BmpDepthFromPixelMode(GetParam());
  const int32_t w = 7, h = 3;  // odd width: every depth needs row padding
  const std::string f = EncodeBmp(Corners(w, h), depth);
  ASSERT_GE(f.size(), 54u);
  EXPECT_EQ(f.substr(0, 2), "BM");
  EXPECT_EQ(Get32(f, 2), f.size());
  EXPECT_EQ(Get32(f, 14), 40u);
  EXPECT_EQ(Get32(f, 18), uint32_t(w));
  EXPECT_EQ(Get32(f, 22), uint32_t(h));
  EXPECT_EQ(Get16(f, 26), 1u);
  const uint32_t bpp = Get16(f, 28);
  EXPECT_EQ(bpp, uint32_t(BitsPerPixel(depth)));
  const size_t stride = ((w * bpp + 31) / 32) * 4;
  EXPECT_EQ(stride % 4, 0u);
  EXPECT_EQ(Get32(f, 34), stride * h);
  EXPECT_EQ(Get32(f, 10) + stride * h, f.size());
  // Palette depths dither, but these pure corner colours are all in both palettes'
  // reach: check that each lands in its corner (rows are stored bottom-up).
  auto near = [](uint32_t a, uint32_t b) {
    for (int s = 0; s < 24; s += 8)
      if (std::abs(int((a >> s) & 255) - int((b >> s) & 255)) > 8) return false;
    return true;
  };
  EXPECT_TRUE(near(ReadPixel(f, 0, 0), 0xFF0000)) << std::hex << ReadPixel(f, 0, 0);
  EXPECT_TRUE(near(ReadPixel(f, w - 1, 0), 0x00FF00)) << std::hex << ReadPixel(f, w - 1, 0);
  EXPECT_TRUE(near(ReadPixel(f, 0, h - 1), 0x0000FF)) << std::hex << ReadPixel(f, 0, h - 1);
  EXPECT_TRUE(near(ReadPixel(f, w - 1, h - 1), 0xFFFFFF)) << std::hex << ReadPixel(f, w - 1, h - 1);
}

INSTANTIATE_TEST_SUITE_P(AllModes, BmpDepthTest, ::testing::Values(0, 1, 2, 3, 4));

TEST(BmpWriterTest, SixteenBitsCarryTheirMasksAndRound) {
  TBitmap32 b(1, 1);
  b.At(0, 0) = 0xFF84FC04;  // 132 → 16 of 31, 252 → 62 of 63, 4 → 0 of 31
  std::string f = EncodeBmp(b, BmpDepth::Bits16);
  EXPECT_EQ(Get32(f, 30), 3u);  // BI_BITFIELDS
  EXPECT_EQ(Get32(f, 54), 0xF800u);
  EXPECT_EQ(Get32(f, 58), 0x07E0u);
  EXPECT_EQ(Get32(f, 62), 0x001Fu);
  EXPECT_EQ(Get16(f, Get32(f, 10)), (16u << 11) | (62u << 5) | 0u);
  f = EncodeBmp(b, BmpDepth::Bits15);
  EXPECT_EQ(Get32(f, 30), 0u);
  EXPECT_EQ(Get16(f, Get32(f, 10)), (16u << 10) | (31u << 5) | 0u);
}

TEST(BmpWriterTest, FourBitsKeepAPictureOfFewColoursExactly) {
  // Colours far from every entry of the fixed system palette: a picture made of them
  // must still come out in its own colours, not posterised to the nearest system ones.
  const Pixel colours[] = {0xFF336699, 0xFFC08040, 0xFF80C0A0, 0xFF5A2E72, 0xFFE0D0B0};
  TBitmap32 b(50, 30);
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 50; ++x) b.At(x, y) = colours[(x / 10 + y / 10) % 5];
  std::string f = EncodeBmp(b, BmpDepth::Bits4);
  ASSERT_EQ(Get16(f, 28), 4u);
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 50; ++x) ASSERT_EQ(ReadPixel(f, x, y), b.At(x, y) & 0xFFFFFF) << x << "," << y;
}

TEST(BmpWriterTest, EmptySurfaceGivesNoFileAndUnknownModesAre24Bits) {
  EXPECT_TRUE(EncodeBmp(TBitmap32(), BmpDepth::Bits24).empty());
  EXPECT_EQ(BmpDepthFromPixelMode(-1), BmpDepth::Bits24);
  EXPECT_EQ(BmpDepthFromPixelMode(99), BmpDepth::Bits24);
  EXPECT_EQ(BitsPerPixel(BmpDepthFromPixelMode(3)), 16);
}

// A file patched in the changed spans only is the file of the changed picture, at every
// depth without a palette and at widths that need row padding; 24-bit pixels also read
// back exactly. The palette depths, and files of another size or depth, are refused
// and left alone.
TEST(BmpWriterTest, PatchingTheChangedSpansGivesTheWholeFile) {
  test::Lcg rng(3);
  for (BmpDepth depth : {BmpDepth::Bits15, BmpDepth::Bits16, BmpDepth::Bits24})
    for (int32_t w : {1, 5, 13, 64, 301}) {
      SCOPED_TRACE(testing::Message() << BitsPerPixel(depth) << " bits, width " << w);
      const TBitmap32 before = test::RandomSurface(w, 9, rng, true);
      TBitmap32 after = before;
      after.FillRectOpaque({w / 3, 2, w / 3 + 1 + w / 2, 6}, 0xFF000000u | rng.Next());
      after.At(w - 1, 8) = rng.Next();
      std::string file = EncodeBmp(before, depth);
      const std::string old = file;
      FileChanges changed;
      ASSERT_TRUE(EncodeBmpSpans(file, after, depth, DifferingSpans(after, before), &changed));
      EXPECT_TRUE(file == EncodeBmp(after, depth));
      // The ranges start and end on a changed byte and, written over the old file, give
      // the new one; `before` holds what they replace.
      std::string patched = old;
      ASSERT_EQ(changed.ranges.size(), changed.before.size());
      for (size_t i = 0; i < changed.ranges.size(); ++i) {
        const ByteRange& r = changed.ranges[i];
        ASSERT_LT(r.first, r.last);
        EXPECT_NE(old[r.first], file[r.first]);
        EXPECT_NE(old[r.last - 1], file[r.last - 1]);
        EXPECT_EQ(changed.before[i], old.substr(r.first, r.last - r.first));
        patched.replace(r.first, r.last - r.first, file, r.first, r.last - r.first);
      }
      EXPECT_TRUE(patched == file);
      if (depth != BmpDepth::Bits24) continue;
      for (int32_t y = 0; y < 9; ++y)
        for (int32_t x = 0; x < w; ++x) ASSERT_EQ(ReadPixel(file, x, y), after.At(x, y) & 0xFFFFFFu);
    }
  // One channel of one pixel changed: the one byte that holds it, wherever it lies in
  // the eight-byte steps of the comparison.
  for (const auto& [x, mask, channel] : {std::tuple{0, 0x000001u, 0}, {17, 0x000100u, 1}, {1500, 0x010000u, 2},
                                         {2999, 0x010000u, 2}}) {
    const TBitmap32 before = test::RandomSurface(3000, 3, rng, false);
    TBitmap32 after = before;
    after.At(x, 1) ^= mask;
    std::string file = EncodeBmp(before, BmpDepth::Bits24);
    FileChanges changed;
    ASSERT_TRUE(EncodeBmpSpans(file, after, BmpDepth::Bits24, DifferingSpans(after, before), &changed));
    const size_t stride = 3 * 3000;  // a multiple of four: no padding
    const size_t at = file.size() - 2 * stride + size_t(3 * x + channel);
    EXPECT_EQ(changed.ranges, (std::vector<ByteRange>{{at, at + 1}})) << "pixel " << x;
  }

  const TBitmap32 picture = test::RandomSurface(6, 4, rng, false);
  const std::vector<RowSpan> all(4, RowSpan{0, 6});
  for (BmpDepth depth : {BmpDepth::Bits4, BmpDepth::Bits8}) {
    std::string file = EncodeBmp(picture, depth);
    EXPECT_FALSE(EncodeBmpSpans(file, picture, depth, all));
  }
  std::string other = EncodeBmp(TBitmap32(6, 5), BmpDepth::Bits24);
  const std::string kept = other;
  EXPECT_FALSE(EncodeBmpSpans(other, picture, BmpDepth::Bits24, all));
  other = EncodeBmp(picture, BmpDepth::Bits15);
  EXPECT_FALSE(EncodeBmpSpans(other, picture, BmpDepth::Bits16, all));
  other = kept;
  EXPECT_FALSE(EncodeBmpSpans(other, picture, BmpDepth::Bits24, std::vector<RowSpan>(3)));
  EXPECT_EQ(other, kept);
}

TEST(PaletteTest, AdaptivePaletteKeepsFewColoursExactly) {
  TBitmap32 b(8, 8);
  b.Clear(0xFF102030);
  b.FillRectOpaque({0, 0, 4, 8}, 0xFFF0E0D0);
  Palette p = BuildAdaptivePalette(b, 256);
  ASSERT_EQ(p.size(), 2u);
  EXPECT_NE(std::find(p.begin(), p.end(), 0xFF102030u), p.end());
  EXPECT_NE(std::find(p.begin(), p.end(), 0xFFF0E0D0u), p.end());
  std::vector<uint8_t> ix = DitherToPalette(b, p);
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 8; ++x) ASSERT_EQ(p[ix[size_t(y * 8 + x)]], b.At(x, y));
}

// Error diffusion must keep the local average of a smooth ramp (no posterised bands):
// over every 8 × 8 block the mean of the written colours stays close to the original.
TEST(PaletteTest, DitheringKeepsLocalAveragesOfASmoothRamp) {
  TBitmap32 b(256, 64);
  for (int32_t y = 0; y < 64; ++y)
    for (int32_t x = 0; x < 256; ++x) b.At(x, y) = MakeArgb(255, uint32_t(x), uint32_t(255 - x), uint32_t(y * 4));
  for (const Palette& pal : {StandardPalette16(), BuildAdaptivePalette(b, 256)}) {
    std::vector<uint8_t> ix = DitherToPalette(b, pal);
    double worst = 0;
    for (int32_t by = 0; by < 64; by += 8)
      for (int32_t bx = 0; bx < 256; bx += 8)
        for (int s = 0; s < 24; s += 8) {
          double orig = 0, got = 0;
          for (int32_t y = by; y < by + 8; ++y)
            for (int32_t x = bx; x < bx + 8; ++x) {
              orig += (b.At(x, y) >> s) & 255;
              got += (pal[ix[size_t(y * 256 + x)]] >> s) & 255;
            }
          worst = std::max(worst, std::fabs(orig - got) / 64);
        }
    EXPECT_LT(worst, pal.size() == 16 ? 32.0 : 6.0) << pal.size() << " colours";
  }
}

// Large pictures look nearest entries up through a cache, small ones search directly:
// the first row of a tall picture dithers exactly as the same row alone.
TEST(PaletteTest, CachedAndDirectLookupsDitherAlike) {
  TBitmap32 tall(512, 32), row(512, 1);
  for (int32_t x = 0; x < 512; ++x) {
    const Pixel p = MakeArgb(255, uint32_t(x / 2), uint32_t((x * 7) & 255), uint32_t(255 - x / 2));
    row.At(x, 0) = p;
    for (int32_t y = 0; y < 32; ++y) tall.At(x, y) = y == 0 ? p : MakeArgb(255, uint32_t(y * 8), 0, 0);
  }
  const Palette pal = BuildAdaptivePalette(tall, 256);
  ASSERT_EQ(pal.size(), 256u);  // 512 × 32 × 256 entries take the cached path, 512 × 256 the direct one
  const std::vector<uint8_t> all = DitherToPalette(tall, pal), first = DitherToPalette(row, pal);
  EXPECT_TRUE(std::equal(first.begin(), first.end(), all.begin()));
}

TEST(PaletteTest, NearestIndexPrefersTheLowerIndexOnTies) {
  Palette p{0xFF000000, 0xFF020202, 0xFF000000};
  EXPECT_EQ(NearestPaletteIndex(p, 0xFF010101), 0);
  EXPECT_EQ(NearestPaletteIndex(StandardPalette16(), 0xFFC8C8C8), 7);
}

}  // namespace
}  // namespace ov
