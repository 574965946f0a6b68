#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "PictureTestUtil.h"
#include "core/images/Adjustments.h"

namespace ov {
namespace {


TEST(ToneTable, AllZeroLeavesEveryValue) {
  ByteTable t = BuildToneTable(0, 0, 0);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(t[i], i);
  TBitmap32 pic = test::Random(37, 11, 5), before = pic;
  AdjustColours(pic, TImageProps{});
  EXPECT_TRUE(test::SamePixels(pic, before));
}

// The curve computed in double precision: the single-precision table may differ only
// where the exact value lies within a hair of a rounding boundary.
void ExpectNearDoubleCurve(double gamma, int contrast, int brightness) {
  ByteTable t = BuildToneTable(gamma, contrast, brightness);
  const double g = std::pow(10.0, -gamma / 10);
  for (int i = 0; i < 256; ++i) {
    double v = ((std::pow(i / 255.0, g) - 0.5) * (1 + contrast / 100.0) + 0.5 + brightness / 100.0) * 255;
    double frac = v - std::floor(v);
    if (std::fabs(frac - 0.5) < 1e-3) continue;
    int expected = static_cast<int>(std::clamp(std::nearbyint(v), 0.0, 255.0));
    EXPECT_EQ(t[i], expected) << "gamma " << gamma << " contrast " << contrast << " brightness " << brightness
                              << " at " << i;
  }
}

TEST(ToneTable, FollowsTheCurveAcrossTheGaugeRanges) {
  for (double gamma : {-10.0, -3.3, -0.1, 0.0, 0.7, 5.0, 10.0})
    for (int contrast : {-100, -40, 0, 25, 100})
      for (int brightness : {-100, -15, 0, 60, 100}) ExpectNearDoubleCurve(gamma, contrast, brightness);
  ExpectNearDoubleCurve(0, 510, 0);  // a version-30 file's out-of-range value, used as stored
}

TEST(ToneTable, GammaGaugeEndsLiftOrSinkTheDarkTones) {
  ByteTable lift = BuildToneTable(10, 0, 0);  // gamma 0.1
  EXPECT_EQ(lift[0], 0);
  EXPECT_EQ(lift[1], 147);  // (1/255)^0.1 = 0.5746
  EXPECT_EQ(lift[255], 255);
  ByteTable sink = BuildToneTable(-10, 0, 0);  // gamma 10
  EXPECT_EQ(sink[128], 0);
  EXPECT_EQ(sink[250], 209);  // (250/255)^10 = 0.8203
  EXPECT_EQ(sink[255], 255);
}

TEST(ToneTable, ContrastMinusHundredMapsEverythingToTheMiddle) {
  ByteTable t = BuildToneTable(3.5, -100, 0);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(t[i], 128) << i;
  ByteTable dark = BuildToneTable(0, -100, -100);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(dark[i], 0) << i;
}

TEST(ToneTable, HeldGammaAndHugeSettingsStayInRange) {
  for (double gamma : {kMaxWorkingGamma, -kMaxWorkingGamma})
    for (int c : {-5000, INT32_MIN, INT32_MAX})
      for (int b : {INT32_MIN, 0, INT32_MAX}) {
        ByteTable t = BuildToneTable(gamma, c, b);
        (void)t;  // every entry is a byte by type; what matters is no UB on the way (UBSan)
      }
  ByteTable flat = BuildToneTable(kMaxWorkingGamma, 0, 0);  // gamma ~ 0: everything but 0 is white
  EXPECT_EQ(flat[0], 0);
  EXPECT_EQ(flat[1], 255);
}

TEST(ColourShift, AddsTruncatedMultiplesOfTwoPointFiveFive) {
  EXPECT_EQ(ColourShiftAmount(100), 255);
  EXPECT_EQ(ColourShiftAmount(-100), -255);
  EXPECT_EQ(ColourShiftAmount(1), 2);
  EXPECT_EQ(ColourShiftAmount(-1), -2);
  EXPECT_EQ(ColourShiftAmount(20), 51);
  EXPECT_EQ(ColourShiftAmount(99), 252);
  EXPECT_EQ(ColourShiftAmount(INT32_MAX), 255);
  EXPECT_EQ(ColourShiftAmount(INT32_MIN), -255);

  TBitmap32 pic = test::Random(16, 16, 9), before = pic;
  TImageProps p;
  p.Red = 100;
  AdjustColours(pic, p);
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x) {
      EXPECT_EQ(RedOf(pic.At(x, y)), 255u);
      EXPECT_EQ(pic.At(x, y) & 0xFF00FFFFu, before.At(x, y) & 0xFF00FFFFu) << "other channels and alpha stay";
    }
}

TEST(GrayScaleAndEqualize, FollowTheirWeights) {
  TBitmap32 pic(3, 1);
  pic.At(0, 0) = MakeArgb(10, 255, 255, 255);
  pic.At(1, 0) = MakeArgb(20, 255, 0, 0);
  pic.At(2, 0) = MakeArgb(30, 0, 0, 255);
  TImageProps p;
  p.GrayScale = true;
  AdjustColours(pic, p);
  EXPECT_EQ(pic.At(0, 0), MakeArgb(10, 254, 254, 254));
  EXPECT_EQ(pic.At(1, 0), MakeArgb(20, 75, 75, 75));
  EXPECT_EQ(pic.At(2, 0), MakeArgb(30, 28, 28, 28));

  TBitmap32 two(2, 2);
  two.At(0, 0) = two.At(1, 1) = MakeArgb(255, 100, 100, 100);  // measure 99
  two.At(1, 0) = two.At(0, 1) = MakeArgb(255, 150, 150, 150);  // measure 149
  TImageProps eq;
  eq.Equalize = true;
  AdjustColours(two, eq);
  EXPECT_EQ(two.At(0, 0), MakeArgb(255, 5, 5, 5));  // (100 - 99) * 255 / 50
  EXPECT_EQ(two.At(1, 0), MakeArgb(255, 255, 255, 255));
}

TEST(GrayScaleAndEqualize, EqualizeOnOneColourChangesNothing) {
  for (Pixel c : {MakeArgb(255, 0, 0, 0), MakeArgb(255, 200, 10, 90), MakeArgb(0, 255, 255, 255)}) {
    TBitmap32 pic = test::Filled(9, 4, c);
    pic.At(3, 2) = (c & 0xFFFFFF) | 0x7F000000u;  // same colour, other alpha
    TBitmap32 before = pic;
    TImageProps p;
    p.Equalize = true;
    AdjustColours(pic, p);
    EXPECT_TRUE(test::SamePixels(pic, before));
  }
  // Measures 99 and 100 differ by less than 2: no change either.
  TBitmap32 near(2, 1);
  near.At(0, 0) = MakeArgb(255, 100, 100, 100);
  near.At(1, 0) = MakeArgb(255, 101, 101, 101);
  TBitmap32 before = near;
  TImageProps p;
  p.Equalize = true;
  AdjustColours(near, p);
  EXPECT_TRUE(test::SamePixels(near, before));
}

TEST(Adjustments, FusedPassesMatchTheStepByStepReference) {
  std::mt19937 rng(1234);
  for (int round = 0; round < 300; ++round) {
    int32_t w = 1 + static_cast<int32_t>(rng() % 41), h = 1 + static_cast<int32_t>(rng() % 17);
    TBitmap32 pic = test::Random(w, h, rng());
    if (round % 3 == 0) {  // narrow ranges make equalise do real work
      for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) pic.At(x, y) = (pic.At(x, y) & 0xFF3F3F3F) | 0x00404040;
    }
    TImageProps p;
    p.GrayScale = rng() % 2;
    p.Equalize = rng() % 2;
    p.Contrast = static_cast<int32_t>(rng() % 241) - 120;
    p.Brightness = static_cast<int32_t>(rng() % 241) - 120;
    p.Gamma = (static_cast<int>(rng() % 201) - 100) / 10.0;
    p.Red = static_cast<int32_t>(rng() % 241) - 120;
    p.Green = static_cast<int32_t>(rng() % 21) - 10;
    p.Blue = round % 5 == 0 ? 0 : static_cast<int32_t>(rng() % 201) - 100;
    if (round % 7 == 0) p.Contrast = p.Brightness = p.Red = p.Green = p.Blue = 0, p.Gamma = 0;
    TBitmap32 fast = pic, ref = pic;
    AdjustColours(fast, p);
    reference::AdjustColours(ref, p);
    ASSERT_TRUE(test::SamePixels(fast, ref)) << "round " << round;
  }
}

TEST(Adjustments, MirrorReversesEveryRow) {
  TBitmap32 pic = test::Numbered(5, 3);
  TBitmap32 m = pic;
  MirrorRows(m);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(m.At(x, y), pic.At(4 - x, y));
  MirrorRows(m);
  EXPECT_TRUE(test::SamePixels(m, pic));
}

}  // namespace
}  // namespace ov
