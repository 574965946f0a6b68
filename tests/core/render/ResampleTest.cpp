#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "RenderTestUtil.h"
#include "core/render/Avx2.h"
#include "core/render/Resample.h"
#include "core/render/ResampleWeights.h"

namespace ov {
namespace {

using test::Lcg;
using test::RandomSurface;
using test::SamePixels;

constexpr StretchFilter kFilters[] = {StretchFilter::Nearest, StretchFilter::Linear2, StretchFilter::Spline};

TEST(ResampleWeightsTest, EveryPositionSumsToOneWithinTheSource) {
  for (StretchFilter f : kFilters)
    for (int32_t srcLen : {1, 2, 3, 17, 100})
      for (int64_t dstLen : {int64_t(1), int64_t(5), int64_t(33), int64_t(400)}) {
        WeightTable t = BuildWeightTable(f, dstLen, 0, int32_t(dstLen), srcLen);
        ASSERT_EQ(t.Size(), dstLen);
        for (int32_t i = 0; i < t.Size(); ++i) {
          int32_t sum = 0;
          for (int32_t k = 0; k < t.count[size_t(i)]; ++k) sum += t.WeightsOf(i)[k];
          ASSERT_EQ(sum, kWeightOne);
          ASSERT_GE(t.start[size_t(i)], 0);
          ASSERT_LE(t.start[size_t(i)] + t.count[size_t(i)], srcLen);
        }
      }
}

TEST(ResampleWeightsTest, ShrinkingWidensTheKernel) {
  // Spline radius 2; halving widens it to 4 source pixels each side.
  WeightTable enlarge = BuildWeightTable(StretchFilter::Spline, 200, 50, 10, 100);
  WeightTable shrink = BuildWeightTable(StretchFilter::Spline, 50, 10, 10, 100);
  EXPECT_LE(enlarge.maxCount, 4);
  EXPECT_GE(shrink.maxCount, 7);
  // Equal sizes: the tent is the identity.
  WeightTable same = BuildWeightTable(StretchFilter::Linear2, 9, 0, 9, 9);
  for (int32_t i = 0; i < 9; ++i) {
    EXPECT_EQ(same.count[size_t(i)], 1);
    EXPECT_EQ(same.start[size_t(i)], i);
  }
}

TEST(ResampleWeightsTest, VisibleWindowOfAHugeDestinationCostsOnlyItsSize) {
  // A 3-pixel source zoomed to two billion pixels; only 4 positions are built.
  const int64_t huge = int64_t(INT32_MAX) - 7;
  WeightTable t = BuildWeightTable(StretchFilter::Spline, huge, huge / 2, 4, 3);
  EXPECT_EQ(t.Size(), 4);
  // Centred on the middle pixel: it carries the largest weight (B-spline 2/3).
  ASSERT_EQ(t.start[0], 0);
  ASSERT_EQ(t.count[0], 3);
  EXPECT_NEAR(t.WeightsOf(0)[1], kWeightOne * 2 / 3, 2);
  WeightTable n = BuildWeightTable(StretchFilter::Nearest, huge, huge - 1, 1, 3);
  EXPECT_EQ(n.start[0], 2);
}

// Fast and reference versions over many random geometries, including rectangles that
// cross every edge of the destination and source rectangles outside the source.
class ResampleMatchTest : public ::testing::TestWithParam<StretchFilter> {};

TEST_P(ResampleMatchTest, FastMatchesReferenceExactly) {
  Lcg rng(777 + uint32_t(GetParam()));
  for (int round = 0; round < 120; ++round) {
    const bool alpha = round % 3 == 0;
    TBitmap32 src = RandomSurface(rng.Range(1, 23), rng.Range(1, 19), rng, alpha);
    src.MasterAlpha = uint8_t(rng.Range(0, 255));
    TBitmap32 a = RandomSurface(rng.Range(1, 31), rng.Range(1, 29), rng, round % 5 == 0);
    TBitmap32 b = a;
    Rect d{rng.Range(-20, 30), rng.Range(-20, 30), 0, 0};
    d.right = d.left + rng.Range(0, 60);
    d.bottom = d.top + rng.Range(0, 60);
    Rect s{rng.Range(-3, src.Width() - 1), rng.Range(-3, src.Height() - 1), 0, 0};
    s.right = s.left + rng.Range(1, src.Width() + 3);
    s.bottom = s.top + rng.Range(1, src.Height() + 3);
    DrawMode mode = round % 2 ? DrawMode::Blend : DrawMode::Opaque;
    ResampleInto(a, d, src, s, GetParam(), mode);
    ResampleIntoReference(b, d, src, s, GetParam(), mode);
    ASSERT_TRUE(SamePixels(a, b)) << "round " << round;
  }
}

// Rows wide enough for the four-pixel vector blocks and their tails, with the AVX2
// kernels on (where the processor has them) and off.
TEST_P(ResampleMatchTest, EveryVectorKernelMatchesReferenceOnWideRows) {
  Lcg rng(4242 + uint32_t(GetParam()));
  for (bool avx2 : {true, false}) {
    AllowAvx2Kernels(avx2);
    for (int round = 0; round < 12; ++round) {
      TBitmap32 src = RandomSurface(rng.Range(40, 211), rng.Range(5, 40), rng, round % 2 == 0);
      TBitmap32 a = RandomSurface(rng.Range(30, 190), rng.Range(5, 30), rng, false);
      TBitmap32 b = a;
      const Rect d{rng.Range(-9, 3), rng.Range(-3, 3), a.Width() + rng.Range(-5, 40), a.Height() + rng.Range(-3, 9)};
      const DrawMode mode = round % 3 ? DrawMode::Opaque : DrawMode::Blend;
      ResampleInto(a, d, src, src.BoundsRect(), GetParam(), mode);
      ResampleIntoReference(b, d, src, src.BoundsRect(), GetParam(), mode);
      ASSERT_TRUE(SamePixels(a, b)) << "round " << round << (avx2 ? " with AVX2" : " without AVX2");
    }
  }
  AllowAvx2Kernels(true);
}

// Blending skips what transparent source pixels reach, and black pixels need no undoing
// of premultiplied alpha: frames, islands, lone pixels and rows of many small pieces over
// a transparent or a faint black ground (an overlay's alpha taken from brightness),
// enlarged and shrunk, must still blend exactly as the reference does.
TEST_P(ResampleMatchTest, MostlyTransparentSourcesBlendAsTheReferenceDoes) {
  Lcg rng(9001 + uint32_t(GetParam()));
  for (bool avx2 : {true, false}) {
    AllowAvx2Kernels(avx2);
    for (int round = 0; round < 24; ++round) {
      TBitmap32 src = RandomSurface(rng.Range(20, 160), rng.Range(10, 90), rng, true);
      const int32_t w = src.Width(), hgt = src.Height();
      // The ground everywhere except what each round keeps.
      TBitmap32 kept = src;
      src.Clear(round % 8 < 4 ? 0 : MakeArgb(uint32_t(rng.Range(1, 3)), 0, 0, 0));
      auto keep = [&](int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        for (int32_t y = std::max(0, y0); y < std::min(hgt, y1); ++y)
          for (int32_t x = std::max(0, x0); x < std::min(w, x1); ++x) src.At(x, y) = kept.At(x, y) | 0x01000000u;
      };
      const int frame = rng.Range(1, 6);
      switch (round % 4) {
        case 0:  // a frame
          keep(0, 0, w, frame), keep(0, hgt - frame, w, hgt), keep(0, 0, frame, hgt), keep(w - frame, 0, w, hgt);
          break;
        case 1:  // islands
          for (int i = 0; i < 3; ++i) {
            const int32_t x = rng.Range(0, w - 1), y = rng.Range(0, hgt - 1);
            keep(x, y, x + rng.Range(1, 12), y + rng.Range(1, 9));
          }
          break;
        case 2:  // lone pixels
          for (int i = 0; i < 6; ++i) {
            const int32_t x = rng.Range(0, w - 1), y = rng.Range(0, hgt - 1);
            keep(x, y, x + 1, y + 1);
          }
          break;
        default:  // every third column: more pieces than a row keeps apart
          for (int32_t x = 0; x < w; x += 3) keep(x, hgt / 3, x + 1, hgt / 2);
      }
      src.MasterAlpha = uint8_t(rng.Range(1, 255));
      TBitmap32 a = RandomSurface(rng.Range(10, 260), rng.Range(5, 120), rng, round % 5 == 0);
      TBitmap32 b = a;
      const Rect d{rng.Range(-9, 3), rng.Range(-3, 3), a.Width() + rng.Range(-5, 40), a.Height() + rng.Range(-3, 9)};
      ResampleInto(a, d, src, src.BoundsRect(), GetParam(), DrawMode::Blend);
      ResampleIntoReference(b, d, src, src.BoundsRect(), GetParam(), DrawMode::Blend);
      ASSERT_TRUE(SamePixels(a, b)) << "round " << round << (avx2 ? " with AVX2" : " without AVX2");
    }
  }
  AllowAvx2Kernels(true);
}

INSTANTIATE_TEST_SUITE_P(AllFilters, ResampleMatchTest, ::testing::ValuesIn(kFilters));

// Every alpha with every colour value, taken back out of premultiplied form by the vector
// kernels: at the same size (each pixel alone) and enlarged (sums of neighbours).
TEST(ResampleTest, EveryAlphaAndColourComesBackAsTheReferenceGivesIt) {
  TBitmap32 src(256, 256);
  for (int32_t a = 0; a < 256; ++a)
    for (int32_t c = 0; c < 256; ++c) src.Row(a)[c] = MakeArgb(uint32_t(a), uint32_t(c), uint32_t(255 - c), uint32_t(c));
  for (bool avx2 : {true, false}) {
    AllowAvx2Kernels(avx2);
    for (int32_t size : {256, 301}) {
      TBitmap32 fast(size, size), reference(size, size);
      ResampleInto(fast, fast.BoundsRect(), src, src.BoundsRect(), StretchFilter::Linear2, DrawMode::Opaque);
      ResampleIntoReference(reference, reference.BoundsRect(), src, src.BoundsRect(), StretchFilter::Linear2,
                            DrawMode::Opaque);
      EXPECT_TRUE(SamePixels(fast, reference)) << size << (avx2 ? " with AVX2" : " without AVX2");
    }
  }
  AllowAvx2Kernels(true);
}

TEST(ResampleTest, ClippedResultEqualsTheSameRegionOfTheUnclippedOne) {
  Lcg rng(99);
  TBitmap32 src = RandomSurface(13, 11, rng, false);
  for (StretchFilter f : kFilters) {
    TBitmap32 whole(57, 43);
    whole.Clear(0xFF000000);
    ResampleInto(whole, {0, 0, 57, 43}, src, src.BoundsRect(), f, DrawMode::Opaque);
    // The same destination shifted so that it crosses each edge of a smaller surface.
    for (auto [ox, oy] : {std::pair{-20, -15}, std::pair{10, -15}, std::pair{-20, 5}, std::pair{10, 5}}) {
      TBitmap32 part(40, 30);
      part.Clear(0xFF000000);
      ResampleInto(part, {ox, oy, ox + 57, oy + 43}, src, src.BoundsRect(), f, DrawMode::Opaque);
      for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < 40; ++x) {
          int32_t wx = x - ox, wy = y - oy;
          Pixel expect = (wx >= 0 && wx < 57 && wy >= 0 && wy < 43) ? whole.At(wx, wy) : 0xFF000000u;
          ASSERT_EQ(part.At(x, y), expect) << int(f) << " at " << x << "," << y;
        }
    }
  }
}

TEST(ResampleTest, UniformPictureStaysUniformAtAnyScale) {
  TBitmap32 src(7, 5);
  src.Clear(0xFF3C80C8);
  for (StretchFilter f : kFilters)
    for (int32_t size : {1, 3, 7, 20, 101}) {
      TBitmap32 dst(size, size);
      ResampleInto(dst, dst.BoundsRect(), src, src.BoundsRect(), f, DrawMode::Opaque);
      for (int32_t y = 0; y < size; ++y)
        for (int32_t x = 0; x < size; ++x) ASSERT_EQ(dst.At(x, y), 0xFF3C80C8u);
    }
}

TEST(ResampleTest, SameSizeIsACopy) {
  // Even the smoothing B-spline leaves a picture shown at its own size untouched.
  Lcg rng(5);
  TBitmap32 src = RandomSurface(9, 6, rng, false);
  for (StretchFilter f : kFilters) {
    TBitmap32 dst(9, 6);
    ResampleInto(dst, dst.BoundsRect(), src, src.BoundsRect(), f, DrawMode::Opaque);
    EXPECT_TRUE(SamePixels(dst, src)) << int(f);
  }
}

TEST(ResampleTest, NearestPicksThePixelUnderEachCentre) {
  TBitmap32 src(3, 1);
  src.At(0, 0) = 0xFF000001;
  src.At(1, 0) = 0xFF000002;
  src.At(2, 0) = 0xFF000003;
  TBitmap32 dst(7, 1);
  ResampleInto(dst, dst.BoundsRect(), src, src.BoundsRect(), StretchFilter::Nearest, DrawMode::Opaque);
  // Centres (x + 0.5) · 3 / 7: 0.21 0.64 1.07 1.5 1.93 2.36 2.79.
  const uint32_t expect[7] = {1, 1, 2, 2, 2, 3, 3};
  for (int32_t x = 0; x < 7; ++x) EXPECT_EQ(dst.At(x, 0) & 0xFF, expect[x]) << x;
}

TEST(ResampleTest, LinearHalfwayIsTheMean) {
  TBitmap32 src(2, 1);
  src.At(0, 0) = 0xFF000000;
  src.At(1, 0) = 0xFFC8C8C8;
  TBitmap32 dst(4, 1);
  ResampleInto(dst, dst.BoundsRect(), src, src.BoundsRect(), StretchFilter::Linear2, DrawMode::Opaque);
  // Centres −0.25, 0.25, 0.75, 1.25: the edge pixels are held, the inner ones mixed 3:1.
  EXPECT_EQ(dst.At(0, 0), 0xFF000000u);
  EXPECT_EQ(dst.At(1, 0), 0xFF323232u);
  EXPECT_EQ(dst.At(2, 0), 0xFF969696u);
  EXPECT_EQ(dst.At(3, 0), 0xFFC8C8C8u);
}

TEST(ResampleTest, TransparentPixelsLendNoColour) {
  // Opaque red beside fully transparent black: the enlarged edge stays pure red.
  TBitmap32 src(2, 1);
  src.At(0, 0) = 0xFFFF0000;
  src.At(1, 0) = 0x00000000;
  TBitmap32 dst(8, 1);
  ResampleInto(dst, dst.BoundsRect(), src, src.BoundsRect(), StretchFilter::Spline, DrawMode::Opaque);
  for (int32_t x = 0; x < 8; ++x) {
    if (AlphaOf(dst.At(x, 0)) == 0) continue;
    EXPECT_EQ(dst.At(x, 0) & 0xFFFFFF, 0xFF0000u) << x;
  }
  EXPECT_GT(AlphaOf(dst.At(0, 0)), AlphaOf(dst.At(7, 0)));
}

TEST(ResampleTest, BlendUsesPixelAlphaTimesMasterAlpha) {
  TBitmap32 src(1, 1);
  src.At(0, 0) = 0x80FFFFFF;
  src.MasterAlpha = 128;
  TBitmap32 dst(2, 2);
  dst.Clear(0xFF000000);
  ResampleInto(dst, dst.BoundsRect(), src, src.BoundsRect(), StretchFilter::Linear2, DrawMode::Blend);
  EXPECT_EQ(dst.At(1, 1), 0xFF404040u);  // 255 · (128·128/255 = 64) / 255
  src.MasterAlpha = 0;
  ResampleInto(dst, dst.BoundsRect(), src, src.BoundsRect(), StretchFilter::Linear2, DrawMode::Blend);
  EXPECT_EQ(dst.At(1, 1), 0xFF404040u);
}

TEST(ResampleTest, HugeZoomAndFarOffscreenPlacementsAreCheapAndSafe) {
  Lcg rng(3);
  TBitmap32 src = RandomSurface(40, 30, rng, false);
  TBitmap32 dst(64, 48);
  dst.Clear(0xFF000000);
  // 9999 % zoom centred on the surface: about 4000 × 3000 source → 400 000 × 300 000.
  Rect zoom{-200000, -150000, 200000, 150000};
  ResampleInto(dst, zoom, src, src.BoundsRect(), StretchFilter::Spline, DrawMode::Opaque);
  // The visible area is a 0.006-pixel window of the source: next to uniform.
  EXPECT_LE(std::abs(int(GreenOf(dst.At(0, 0))) - int(GreenOf(dst.At(63, 47)))), 1);
  ResampleInto(dst, zoom, src, src.BoundsRect(), StretchFilter::Nearest, DrawMode::Opaque);
  EXPECT_EQ(dst.At(0, 0), src.At(20, 15));
  EXPECT_EQ(dst.At(63, 47), src.At(20, 15));
  TBitmap32 before = dst;
  ResampleInto(dst, {INT32_MIN, INT32_MIN, INT32_MIN + 5, INT32_MIN + 5}, src, src.BoundsRect(),
               StretchFilter::Spline, DrawMode::Opaque);
  ResampleInto(dst, {INT32_MIN, 0, INT32_MAX, 48}, src, {-50, -50, -1, -1}, StretchFilter::Spline,
               DrawMode::Opaque);
  ResampleInto(dst, {10, 10, 5, 20}, src, src.BoundsRect(), StretchFilter::Spline, DrawMode::Opaque);
  EXPECT_TRUE(SamePixels(dst, before));
  // The whole 32-bit range as destination: a full-width, 2^32-pixel-wide picture.
  ResampleInto(dst, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, src, src.BoundsRect(),
               StretchFilter::Linear2, DrawMode::Opaque);
  EXPECT_EQ(AlphaOf(dst.At(30, 30)), 255u);
}

}  // namespace
}  // namespace ov
