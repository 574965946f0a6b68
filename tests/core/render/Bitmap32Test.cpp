#include <gtest/gtest.h>

#include <climits>

#include "core/render/Bitmap32.h"
#include "core/render/Blend.h"

namespace ov {
namespace {

bool Inside(const Rect& r, int32_t x, int32_t y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

constexpr Pixel kBg = 0xFF204060;

// Counts pixels that differ from the background.
int Changed(const TBitmap32& b, Pixel bg = kBg) {
  int n = 0;
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x) n += b.At(x, y) != bg;
  return n;
}

class SurfaceTest : public ::testing::Test {
 protected:
  SurfaceTest() : s(10, 8) { s.Clear(kBg); }
  TBitmap32 s;
};

TEST_F(SurfaceTest, SizesBelowOneGiveAnEmptySurface) {
  TBitmap32 e(-3, 5);
  EXPECT_TRUE(e.Empty());
  EXPECT_EQ(e.Width(), 0);
  EXPECT_EQ(e.Height(), 0);
  e.Clear(1);
  e.FillRectBlend({0, 0, 5, 5}, 0x80FFFFFF);
  e.BevelRect({0, 0, 5, 5}, 50);
  e.FrameRectBlend({0, 0, 5, 5}, 0x80FFFFFF);
  e.CopyWithin({0, 0, 5, 5}, {0, 0, 5, 5}, s);
}

// A surface reshaped in another's buffer takes it only when it is large enough and its
// own is not already the size; whatever it holds, it comes out at the size asked for.
TEST(SurfaceBufferTest, ReshapeInAnotherBufferTakesItOnlyWhenThatHelps) {
  struct Case {
    int32_t ownW, ownH, fromW, fromH, w, h;
    bool taken;
  } cases[] = {
      {0, 0, 40, 30, 30, 20, true},    // empty, a larger buffer: taken
      {0, 0, 30, 20, 30, 20, true},    // exactly large enough
      {0, 0, 10, 10, 30, 20, false},   // too small: a buffer of its own
      {30, 20, 40, 30, 30, 20, false}, // already the size: its own stays
      {5, 5, 40, 30, 30, 20, true},    // another size: taken
      {5, 5, 40, 30, 0, 7, false},     // empty result: nothing taken
  };
  for (const Case& c : cases) {
    TBitmap32 own(c.ownW, c.ownH), from(c.fromW, c.fromH);
    const Pixel* fromBits = from.Bits();
    own.ReshapeInBufferOf(from, c.w, c.h);
    const bool empty = c.w <= 0 || c.h <= 0;
    EXPECT_EQ(own.Width(), empty ? 0 : c.w);
    EXPECT_EQ(own.Height(), empty ? 0 : c.h);
    EXPECT_EQ(own.Bits() == fromBits, c.taken) << c.ownW << " " << c.fromW << " " << c.w;
    EXPECT_EQ(from.Empty(), c.taken);
    if (!empty) {
      own.Clear(kBg);  // every pixel is there to write
      EXPECT_EQ(own.At(c.w - 1, c.h - 1), kBg);
    }
  }
}

TEST_F(SurfaceTest, ClearOutsideLeavesOnlyTheKeptRectangle) {
  const Rect cases[] = {{2, 3, 7, 6}, {-5, -5, 4, 20}, {8, 7, 30, 30}, {20, 20, 30, 30}, {3, 3, 3, 9}};
  for (const Rect& keep : cases) {
    s.Clear(kBg);
    s.ClearOutside(keep, 0xFF00FF00);
    for (int32_t y = 0; y < s.Height(); ++y)
      for (int32_t x = 0; x < s.Width(); ++x)
        ASSERT_EQ(s.At(x, y), Inside(keep, x, y) ? kBg : 0xFF00FF00) << x << "," << y;
  }
}

TEST_F(SurfaceTest, FillsClipToTheSurface) {
  s.FillRectOpaque({-100, -100, 2, 3}, 0xFF00FF00);
  EXPECT_EQ(Changed(s), 6);
  EXPECT_EQ(s.At(1, 2), 0xFF00FF00u);
  s.FillRectBlend({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 0x80FFFFFF);
  EXPECT_EQ(s.At(9, 7), BlendPixel(0xFFFFFFFF, 0x80, kBg));
  s.FillRectBlend({5, 5, 4, 9}, 0xFFFFFFFF);  // inverted: nothing
  EXPECT_EQ(s.At(5, 5), BlendPixel(0xFFFFFFFF, 0x80, kBg));
}

TEST_F(SurfaceTest, FrameBlendsEachOutlinePixelOnce) {
  s.FrameRectBlend({1, 1, 5, 4}, 0x80FFFFFF);
  const Pixel once = BlendPixel(0xFFFFFFFF, 0x80, kBg);
  for (int32_t y = 1; y < 4; ++y)
    for (int32_t x = 1; x < 5; ++x) {
      bool edge = x == 1 || x == 4 || y == 1 || y == 3;
      EXPECT_EQ(s.At(x, y), edge ? once : kBg) << x << "," << y;
    }
  EXPECT_EQ(Changed(s), 10);
  // A one-pixel-high frame is a single line, not blended twice.
  TBitmap32 t(4, 1);
  t.Clear(kBg);
  t.FrameRectBlend({0, 0, 4, 1}, 0x80FFFFFF);
  EXPECT_EQ(t.At(2, 0), once);
}

TEST_F(SurfaceTest, BevelLightAboveDarkBelow) {
  s.BevelRect({1, 1, 6, 5}, 15);
  const Pixel light = BlendPixel(0xFFFFFFFF, 15 * 512 / 100, kBg);  // alpha 76
  const Pixel dark = BlendPixel(0xFF000000, 15 * 255 / 100, kBg);   // alpha 38
  EXPECT_EQ(s.At(1, 1), light);
  EXPECT_EQ(s.At(5, 1), light);  // top row runs the full width
  EXPECT_EQ(s.At(1, 4), light);  // left column runs to the bottom
  EXPECT_EQ(s.At(2, 4), dark);
  EXPECT_EQ(s.At(5, 4), dark);
  EXPECT_EQ(s.At(5, 2), dark);
  EXPECT_EQ(s.At(3, 2), kBg);
  EXPECT_EQ(Changed(s), 5 + 3 + 4 + 2);
}

TEST_F(SurfaceTest, NegativeBevelSwapsAndZeroDrawsNothing) {
  s.BevelRect({0, 0, 4, 4}, 0);
  EXPECT_EQ(Changed(s), 0);
  s.BevelRect({0, 0, 4, 4}, -100);
  EXPECT_EQ(s.At(0, 0), BlendPixel(0xFF000000, 255, kBg));
  EXPECT_EQ(s.At(3, 3), 0xFFFFFFFFu);  // white at alpha min(512, 255)
  TBitmap32 t(3, 3);
  t.Clear(kBg);
  t.BevelRect({0, 0, 3, 3}, 5000);  // out of range counts as 100
  EXPECT_EQ(t.At(0, 0), 0xFFFFFFFFu);
}

TEST_F(SurfaceTest, CopyWithinHandlesOverlapBothWays) {
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 10; ++x) s.At(x, y) = 0xFF000000u | uint32_t(y * 16 + x);
  TBitmap32 orig = s;
  s.CopyWithin({2, 1, 10, 8}, {0, 0, 8, 7}, s);  // down and right over itself
  for (int32_t y = 1; y < 8; ++y)
    for (int32_t x = 2; x < 10; ++x) ASSERT_EQ(s.At(x, y), orig.At(x - 2, y - 1));
  s = orig;
  s.CopyWithin({0, 0, 8, 7}, {2, 1, 10, 8}, s);  // up and left
  for (int32_t y = 0; y < 7; ++y)
    for (int32_t x = 0; x < 8; ++x) ASSERT_EQ(s.At(x, y), orig.At(x + 2, y + 1));
}

TEST_F(SurfaceTest, CopyWithinClipsBothSurfacesAndAlignsCorners) {
  TBitmap32 src(4, 4);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x) src.At(x, y) = uint32_t(y * 4 + x + 1);
  // Source starts off the left/top edge: the visible part lands shifted alike.
  s.CopyWithin({-1, 6, 50, 50}, {-2, -1, 4, 4}, src);
  // Source column −2 would land at x −1: column 0 lands at x 1; only row 7 is inside.
  EXPECT_EQ(s.At(1, 7), src.At(0, 0));
  EXPECT_EQ(s.At(4, 7), src.At(3, 0));
  EXPECT_EQ(Changed(s), 4);
  s.CopyWithin({INT32_MAX - 1, INT32_MAX - 1, INT32_MAX, INT32_MAX}, {0, 0, 4, 4}, src);
  EXPECT_EQ(Changed(s), 4);
}

}  // namespace
}  // namespace ov
