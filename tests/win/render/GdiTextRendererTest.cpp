#include <gtest/gtest.h>

#include "core/render/Blend.h"
#include "core/render/Color.h"
#include "core/platform/SystemColors.h"
#include "win/platform/GdiTextRenderer.h"
#include "win/platform/WinSystemColors.h"

namespace ov {
namespace {

using namespace text_flags;

FontSpec Font(int points) {
  FontSpec f;
  f.face = "Tahoma";
  f.SetPointSize(points);
  f.weight = 700;
  return f;
}

struct Coverage {
  int inside = 0, outside = 0, partial = 0, full = 0;
};

// Classifies the pixels that differ from bg by where they lie relative to r.
Coverage Classify(const TBitmap32& s, Pixel bg, const Rect& r, Pixel color) {
  Coverage c;
  for (int32_t y = 0; y < s.Height(); ++y)
    for (int32_t x = 0; x < s.Width(); ++x) {
      Pixel p = s.At(x, y);
      if (p == bg) continue;
      bool in = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
      (in ? c.inside : c.outside)++;
      if (p == color) c.full++;
      else c.partial++;
    }
  return c;
}

TEST(GdiTextRendererTest, TextStaysInsideItsRectangleWithSmoothEdges) {
  GdiTextRenderer tr;
  TBitmap32 s(200, 60);
  const Pixel bg = 0xFF203040;
  s.Clear(bg);
  const Rect r{20, 10, 120, 40};
  tr.DrawInRect(s, r, kCenter | kVCenter | kSingleLine | kNoPrefix, Font(14), 0x00FFFF /* yellow */,
                "Wide text that overflows its cell");
  Coverage c = Classify(s, bg, r, 0xFFFFFF00);
  EXPECT_GT(c.inside, 100);
  EXPECT_EQ(c.outside, 0);
  EXPECT_GT(c.partial, 20);  // anti-aliased edges
  EXPECT_GT(c.full, 20);     // solid stems in the font colour
  // Every pixel is the font colour over the background at some coverage: no colour
  // fringes from sub-pixel smoothing, no dark halo.
  for (int32_t y = r.top; y < r.bottom; ++y)
    for (int32_t x = r.left; x < r.right; ++x) {
      Pixel p = s.At(x, y);
      bool found = false;
      for (uint32_t a = 0; a < 256 && !found; ++a) found = BlendPixel(0xFFFFFF00, a, bg) == p;
      ASSERT_TRUE(found) << std::hex << p << " at " << std::dec << x << "," << y;
    }
}

TEST(GdiTextRendererTest, TextOverTransparentPixelsKeepsItsColour) {
  GdiTextRenderer tr;
  TBitmap32 s(120, 40);
  s.Clear(0x00000000);
  tr.DrawInRect(s, s.BoundsRect(), kSingleLine | kNoPrefix, Font(16), 0x0000FF /* red */, "Ag");
  int seen = 0, translucent = 0;
  for (int32_t y = 0; y < s.Height(); ++y)
    for (int32_t x = 0; x < s.Width(); ++x) {
      Pixel p = s.At(x, y);
      if (AlphaOf(p) == 0) continue;
      ++seen;
      if (AlphaOf(p) < 255) ++translucent;
      ASSERT_EQ(p & 0xFFFFFF, 0xFF0000u) << "dark fringe at " << x << "," << y;
    }
  EXPECT_GT(seen, 30);
  EXPECT_GT(translucent, 5);
}

TEST(GdiTextRendererTest, ClipsToTheSurfaceAndTakesSystemColours) {
  InstallWinSystemColors();
  GdiTextRenderer tr;
  TBitmap32 s(50, 20);
  s.Clear(0xFF808080);
  // A rectangle far bigger than the surface, and one wholly outside it.
  tr.DrawInRect(s, {-1000000, -5, 1000000, 25}, kCenter | kVCenter | kSingleLine, Font(10),
                0xFF000008 /* window text */, "Hi");
  tr.DrawInRect(s, {INT32_MIN, INT32_MIN, INT32_MIN + 10, INT32_MIN + 10}, 0, Font(10), 0, "x");
  int changed = 0;
  for (int32_t y = 0; y < s.Height(); ++y)
    for (int32_t x = 0; x < s.Width(); ++x) changed += s.At(x, y) != 0xFF808080;
  EXPECT_GT(changed, 10);  // the centred "Hi" lands in the middle
  SetSystemColorLookup(nullptr);
}

TEST(GdiTextRendererTest, MeasureGrowsWithTextAndFont) {
  GdiTextRenderer tr;
  Size a = tr.Measure(Font(10), "Xq");
  Size b = tr.Measure(Font(20), "Xq");
  Size c = tr.Measure(Font(10), "XqXq");
  EXPECT_GT(a.width, 5);
  EXPECT_GT(a.height, 8);
  EXPECT_GT(b.height, a.height);
  EXPECT_GT(c.width, a.width);
  EXPECT_EQ(tr.Measure(Font(10), "").width, 0);
  EXPECT_EQ(tr.Measure(Font(10), "").height, a.height);
}

TEST(GdiTextRendererTest, WordBreakWrapsAndEllipsisShortens) {
  GdiTextRenderer tr;
  TBitmap32 s(80, 80);
  s.Clear(0xFF000000);
  tr.DrawInRect(s, {0, 0, 80, 80}, kWordBreak | kNoPrefix | kEndEllipsis, Font(9), 0xFFFFFF,
                "one two three four five six seven");
  int rowsWithInk = 0;
  for (int32_t y = 0; y < 80; ++y) {
    bool ink = false;
    for (int32_t x = 0; x < 80; ++x) ink |= s.At(x, y) != 0xFF000000;
    rowsWithInk += ink;
  }
  EXPECT_GT(rowsWithInk, 20);  // more than one line
}

}  // namespace
}  // namespace ov
