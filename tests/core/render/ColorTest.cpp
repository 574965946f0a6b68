#include <gtest/gtest.h>

#include "core/platform/SystemColors.h"
#include "core/render/Avx2.h"
#include "core/render/Blend.h"
#include "core/render/Color.h"

namespace ov {
namespace {

TEST(ColorTest, PlatformAndPixelFormsSwapRedAndBlue) {
  EXPECT_EQ(ToArgb(0x0000FF), 0xFFFF0000u);  // platform red
  EXPECT_EQ(ToArgb(0xC0FFFF), 0xFFFFFFC0u);  // the default caption colour, a pale yellow
  EXPECT_EQ(ToWinColor(0x80123456u), 0x563412u);
  EXPECT_EQ(ToWinColor(ToArgb(0x2060FF)), 0x2060FFu);
}

TEST(ColorTest, SystemColourCodesAreResolved) {
  SetSystemColorLookup(nullptr);
  // 0xFF000001 is the desktop colour; the fixed table answers natively.
  EXPECT_EQ(ToArgb(0xFF000001), ToArgb(DefaultSystemColor(1)));
  EXPECT_EQ(SystemColor(200), 0u);
  SetSystemColorLookup([](int index) -> uint32_t { return index == 5 ? 0x0000FF : 0x123456; });
  EXPECT_EQ(ToArgb(0xFF000005), 0xFFFF0000u);
  EXPECT_EQ(ToArgb(0x000005), 0xFF050000u);  // an ordinary colour is not a code
  SetSystemColorLookup(nullptr);
}

TEST(ColorTest, WithAlphaClampsBothWays) {
  EXPECT_EQ(WithAlpha(0x12345678, 96), 0x60345678u);
  EXPECT_EQ(WithAlpha(0x12345678, 300), 0xFF345678u);
  EXPECT_EQ(WithAlpha(0xFF345678, -5), 0x00345678u);
}

TEST(ColorTest, LuminanceWeights) {
  EXPECT_EQ(Luminance(0xFFFFFFFF), 255);
  EXPECT_EQ(Luminance(0xFF000000), 0);
  EXPECT_EQ(Luminance(0xFFFF0000), 60);   // 255·61 >> 8
  EXPECT_EQ(Luminance(0xFF00FF00), 173);  // 255·174 >> 8
  EXPECT_EQ(Luminance(0xFF0000FF), 20);   // 255·21 >> 8
}

TEST(BlendTest, Div255RoundsToNearestOverTheWholeRange) {
  for (uint32_t x = 0; x <= 65535; ++x) ASSERT_EQ(Div255(x), (x * 2 + 255) / 510) << x;
}

TEST(BlendTest, OverAnOpaqueDestinationStaysOpaque) {
  EXPECT_EQ(BlendPixel(0xFFFFFFFF, 128, 0xFF000000), 0xFF808080u);
  EXPECT_EQ(BlendPixel(0x00FF0000, 255, 0xFF0000FF), 0xFFFF0000u);
  EXPECT_EQ(BlendPixel(0xFFFF0000, 0, 0xFF0000FF), 0xFF0000FFu);
  EXPECT_EQ(BlendOver(0x60FFFFFF, 0xFF000000), 0xFF606060u);
}

TEST(BlendTest, OverATransparentDestinationKeepsTheSourceColour) {
  // No dark fringe: colour over nothing keeps its colour, alpha is the coverage.
  EXPECT_EQ(BlendPixel(0xFFFFC0FF, 100, 0x00000000), 0x64FFC0FFu);
  Pixel half = BlendPixel(0xFF0000FF, 128, 0x80FF0000);
  EXPECT_EQ(AlphaOf(half), 128u + Div255(128 * 127));
  EXPECT_GT(BlueOf(half), RedOf(half));  // the new colour weighs more than what shows through
}

TEST(BlendTest, SpansMatchTheirScalarReference) {
  uint32_t seed = 12345;
  auto next = [&] { seed = seed * 1664525u + 1013904223u; return seed; };
  for (int round = 0; round < 1200; ++round) {
    // The AVX2 kernels (where the processor has them) in the first half, the SSE2 ones after.
    AllowAvx2Kernels(round < 600);
    // Odd lengths, and in turn all-opaque, mostly opaque and mixed pixels, so the
    // four-pixel paths and their fall-backs all run.
    const size_t n = 1 + next() % 67;
    const uint32_t opaqueOdds = round % 3 == 0 ? 1000 : round % 3 == 1 ? 20 : 2;
    std::vector<Pixel> a(n), b(n), src(n);
    for (size_t i = 0; i < n; ++i) {
      a[i] = next();
      if (next() % opaqueOdds != 0) a[i] |= 0xFF000000;
      src[i] = next();
      if (next() % opaqueOdds != 0) src[i] |= 0xFF000000;
    }
    b = a;
    Pixel color = next();
    BlendSpanSolid(a.data(), n, color);
    BlendSpanSolidReference(b.data(), n, color);
    ASSERT_EQ(a, b) << "solid " << std::hex << color;
    const uint32_t master = round % 4 == 0 ? 255 : next() % 256;
    BlendSpanMaster(src.data(), a.data(), n, master);
    BlendSpanMasterReference(src.data(), b.data(), n, master);
    ASSERT_EQ(a, b) << "master " << master;
  }
  AllowAvx2Kernels(true);
}

}  // namespace
}  // namespace ov
