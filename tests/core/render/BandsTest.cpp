#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "RenderTestUtil.h"
#include "core/images/Adjustments.h"
#include "core/render/Bands.h"
#include "core/render/Blend.h"
#include "core/render/BmpWriter.h"
#include "core/render/Resample.h"

namespace ov {
namespace {

using test::Lcg;
using test::RandomSurface;
using test::SamePixels;

// Puts the default thread count back whatever a test set.
struct ThreadsGuard {
  ~ThreadsGuard() { SetPixelThreads(0); }
};

TEST(BandsTest, EveryRowRunsOnceInAtMostOneBandPerThread) {
  ThreadsGuard guard;
  struct Case {
    int64_t rows, minRows;
    int threads, bands;
  };
  const Case cases[] = {{0, 1, 4, 0},   {1, 1, 4, 1},    {10, 32, 4, 1}, {64, 32, 4, 2},
                        {100, 1, 3, 3}, {1000, 64, 8, 8}, {7, 0, 16, 7}, {500, 10, 1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rows << " rows, " << c.minRows << " at least, " << c.threads << " threads");
    SetPixelThreads(c.threads);
    std::vector<std::atomic<int>> runs(size_t(c.rows));
    std::atomic<int> bands{0};
    ForEachBand(c.rows, c.minRows, [&](int64_t first, int64_t last) {
      ++bands;
      for (int64_t y = first; y < last; ++y) ++runs[size_t(y)];
    });
    EXPECT_EQ(bands, c.bands);
    for (const auto& r : runs) ASSERT_EQ(r, 1);
  }
}

TEST(BandsTest, AFailureOnAWorkerIsThrownOnTheCallerAfterEveryBandEnded) {
  ThreadsGuard guard;
  SetPixelThreads(4);
  std::atomic<int> ended{0};
  EXPECT_THROW(ForEachBand(400, 1,
                           [&](int64_t first, int64_t) {
                             ++ended;
                             if (first > 0) throw std::runtime_error("band failed");
                           }),
               std::runtime_error);
  EXPECT_EQ(ended, 4);
}

// Bands that split their own work into bands, many calls in a row: every row of every
// inner pass runs once, and nothing waits for ever.
TEST(BandsTest, ABandMayRunABandedPassOfItsOwn) {
  ThreadsGuard guard;
  SetPixelThreads(3);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::atomic<int>> runs(size_t(6 * 40));
    ForEachBand(6, 1, [&](int64_t first, int64_t last) {
      for (int64_t outer = first; outer < last; ++outer)
        ForEachBand(40, 4, [&](int64_t a, int64_t b) {
          for (int64_t y = a; y < b; ++y) ++runs[size_t(outer * 40 + y)];
        });
    });
    for (const auto& r : runs) ASSERT_EQ(r, 1) << "round " << round;
  }
}

// The passes split into bands give exactly the pixels and bytes of one plain run.
TEST(BandsTest, BandedPassesGiveTheSameResultOnAnyNumberOfThreads) {
  ThreadsGuard guard;
  Lcg rng(2024);
  const TBitmap32 photo = RandomSurface(301, 257, rng, false);
  TBitmap32 translucent = RandomSurface(97, 89, rng, true);
  translucent.MasterAlpha = 200;
  const TBitmap32 base = RandomSurface(517, 389, rng, false);
  TImageProps props;
  props.GrayScale = true;
  props.Equalize = true;
  props.Gamma = 1.5;
  props.Contrast = 20;
  props.Red = 10;

  TBitmap32 reference = base;
  ResampleIntoReference(reference, {-7, 3, 530, 380}, photo, photo.BoundsRect(), StretchFilter::Spline,
                        DrawMode::Opaque);
  ResampleIntoReference(reference, reference.BoundsRect(), translucent, translucent.BoundsRect(),
                        StretchFilter::Spline, DrawMode::Blend);
  reference.MakeOpaque();
  reference::AdjustColours(reference, props);
  const Rect panel = {11, 7, 500, 380};  // a translucent panel background over the picture
  for (int32_t y = panel.top; y < panel.bottom; ++y)
    BlendSpanSolidReference(reference.Row(y) + panel.left, size_t(panel.right - panel.left), 0x9C203040u);
  MirrorRows(reference);
  SetPixelThreads(1);
  const std::string bmp24 = EncodeBmp(reference, BmpDepth::Bits24), bmp16 = EncodeBmp(reference, BmpDepth::Bits16),
                    bmp4 = EncodeBmp(reference, BmpDepth::Bits4);
  // Mirrored once more by one thread: the pixels as drawn.
  MirrorRows(reference);

  for (int threads : {2, 3, 5}) {
    SCOPED_TRACE(testing::Message() << threads << " threads");
    SetPixelThreads(threads);
    TBitmap32 s = base;
    ResampleInto(s, {-7, 3, 530, 380}, photo, photo.BoundsRect(), StretchFilter::Spline, DrawMode::Opaque);
    ResampleInto(s, s.BoundsRect(), translucent, translucent.BoundsRect(), StretchFilter::Spline, DrawMode::Blend);
    s.MakeOpaque();
    AdjustColours(s, props);
    s.FillRectBlend(panel, 0x9C203040u);
    ASSERT_TRUE(SamePixels(s, reference));
    MirrorRows(s);
    EXPECT_TRUE(EncodeBmp(s, BmpDepth::Bits24) == bmp24);
    EXPECT_TRUE(EncodeBmp(s, BmpDepth::Bits16) == bmp16);
    EXPECT_TRUE(EncodeBmp(s, BmpDepth::Bits4) == bmp4);
  }
}

// Whether the buffer is a string or the uncleared bytes the wallpaper keeps, smaller or
// larger than the last file it held.
template <class Bytes>
void ExpectReusedBufferHoldsOnlyTheNewFile() {
  Lcg rng(5);
  const TBitmap32 wide = RandomSurface(37, 21, rng, false), narrow = RandomSurface(5, 3, rng, false);
  for (BmpDepth depth : {BmpDepth::Bits4, BmpDepth::Bits8, BmpDepth::Bits16, BmpDepth::Bits24}) {
    Bytes buffer;
    for (const TBitmap32* picture : {&wide, &narrow, &wide}) {
      std::fill(buffer.begin(), buffer.end(), '\xA5');  // stale bytes everywhere
      EncodeBmpInto(buffer, *picture, depth);
      EXPECT_TRUE(std::string(buffer.begin(), buffer.end()) == EncodeBmp(*picture, depth))
          << int(depth) << " bits, width " << picture->Width();
    }
  }
}

TEST(BandsTest, AReusedFileBufferHoldsNothingOfItsLastContents) {
  ExpectReusedBufferHoldsOnlyTheNewFile<std::string>();
  ExpectReusedBufferHoldsOnlyTheNewFile<FileBytes>();
}

}  // namespace
}  // namespace ov
