#include <gtest/gtest.h>

#include "PictureTestUtil.h"
#include "core/images/Compose.h"
#include "core/images/Overlay.h"
#include "support/TempDir.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

constexpr Pixel kOverlayRed = 0xFFFF0000u, kOverlayBack = 0xFF204060u;

TEST(DeriveOverlayAlpha, AlphaFollowsBrightnessScaledByTheSetting) {
  TBitmap32 s(4, 1);
  s.At(0, 0) = 0x00FFFFFFu;  // I = 255
  s.At(1, 0) = 0x00000000u;  // I = 1
  s.At(2, 0) = 0x12646464u;  // I = (300 * 85 >> 8) + 1 = 100
  s.At(3, 0) = 0x00FF0000u;  // I = (255 * 85 >> 8) + 1 = 85
  TBitmap32 a255 = s;
  DeriveOverlayAlpha(a255, false, 255);
  EXPECT_EQ(AlphaOf(a255.At(0, 0)), 254u);  // 255 * 255 / 255.001
  EXPECT_EQ(AlphaOf(a255.At(1, 0)), 0u);
  EXPECT_EQ(AlphaOf(a255.At(2, 0)), 99u);
  EXPECT_EQ(AlphaOf(a255.At(3, 0)), 84u);
  EXPECT_EQ(a255.At(2, 0) & 0xFFFFFF, 0x646464u) << "colour stays";

  TBitmap32 a128 = s;
  DeriveOverlayAlpha(a128, false, 128);
  EXPECT_EQ(AlphaOf(a128.At(0, 0)), 255u);
  EXPECT_EQ(AlphaOf(a128.At(1, 0)), 1u);    // 255 / 128.001
  EXPECT_EQ(AlphaOf(a128.At(2, 0)), 199u);  // 25500 / 128.001
  EXPECT_EQ(AlphaOf(a128.At(3, 0)), 169u);  // 21675 / 128.001

  TBitmap32 a0 = s;
  DeriveOverlayAlpha(a0, false, 0);
  for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(AlphaOf(a0.At(x, 0)), 255u) << "an opaque cover";
}

TEST(DeriveOverlayAlpha, RunningItAgainWithAnotherSettingIsExact) {
  TBitmap32 base = test::Random(31, 17, 8);
  for (int32_t first : {0, 1, 77, 128, 255})
    for (int32_t second : {0, 3, 128, 200, 255}) {
      TBitmap32 twice = base, once = base;
      DeriveOverlayAlpha(twice, false, first);
      DeriveOverlayAlpha(twice, false, second);
      DeriveOverlayAlpha(once, false, second);
      ASSERT_TRUE(test::SamePixels(twice, once)) << first << " then " << second;
    }
  TBitmap32 own = base;
  DeriveOverlayAlpha(own, true, 0);
  EXPECT_TRUE(test::SamePixels(own, base)) << "a picture with its own alpha keeps it";
  TBitmap32 junk = base, held = base;
  DeriveOverlayAlpha(junk, false, -40);
  DeriveOverlayAlpha(held, false, 0);
  EXPECT_TRUE(test::SamePixels(junk, held));
}

class OverlayTest : public ::testing::Test {
 protected:
  OverlayTest() { settings.screen = {16, 8}; }

  fs::path Write(const std::string& name, const std::string& bytes) {
    fs::path p = dir.Path() / name;
    test::WriteFile(p, bytes);
    return p;
  }
  // Left half opaque white, right half fully transparent.
  TBitmap32 HalfCover() {
    TBitmap32 o(4, 2);
    for (int32_t y = 0; y < 2; ++y)
      for (int32_t x = 0; x < 4; ++x) o.At(x, y) = x < 2 ? 0xFFFFFFFFu : 0x00000000u;
    return o;
  }
  TBitmap32 Compose(const TImageProps& props, ImageSlot slot, bool adjust = true) {
    TBitmap32 dst = test::Filled(16, 8, kOverlayBack), pic = test::Filled(8, 8, kOverlayRed);
    ComposeImage(dst, pic, props, StretchFilter::Nearest, slot, adjust, settings);
    return dst;
  }
  static TImageProps Stretched() {
    TImageProps p;
    p.Fit = false;
    p.Stretch = true;
    return p;
  }

  test::TempDir dir;
  NetpbmImageDecoder decoder;
  OverlayImage overlay;
  ComposeSettings settings;
};

TEST_F(OverlayTest, AnOverlayWithItsOwnAlphaKeepsIt) {
  overlay.Load(decoder, Write("own.pam", EncodePamRgba(HalfCover())), true, 0);
  ASSERT_FALSE(overlay.Picture().Empty());
  EXPECT_TRUE(overlay.HasOwnAlpha());
  settings.overlay = &overlay;
  TBitmap32 dst = Compose(Stretched(), ImageSlot::Current);
  EXPECT_EQ(dst.At(2, 3), 0xFFFFFFFFu);
  EXPECT_EQ(dst.At(13, 3), kOverlayRed) << "OverlayAlpha 0 does not touch an overlay's own alpha";
}

TEST_F(OverlayTest, OverlayAlphaZeroMakesAPictureWithoutAlphaAnOpaqueCover) {
  TBitmap32 o = test::Numbered(4, 2);
  overlay.Load(decoder, Write("plain.ppm", EncodePpm(o)), true, 0);
  EXPECT_FALSE(overlay.HasOwnAlpha());
  settings.overlay = &overlay;
  TBitmap32 dst = Compose(Stretched(), ImageSlot::Current);
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 16; ++x) ASSERT_EQ(dst.At(x, y) & 0xFFFFFF, o.At(x / 4, y / 4) & 0xFFFFFF);

  // Another setting later: dark overlay pixels become see-through.
  TBitmap32 black = test::Filled(4, 2, 0xFF000000u);
  overlay.Load(decoder, Write("black.ppm", EncodePpm(black)), true, 0);
  EXPECT_EQ(Compose(Stretched(), ImageSlot::Current).At(5, 5), 0xFF000000u);
  overlay.SetAlpha(255);
  dst = Compose(Stretched(), ImageSlot::Current);
  EXPECT_EQ(dst.At(5, 5), kOverlayRed) << "black at OverlayAlpha 255 is fully transparent";
}

TEST_F(OverlayTest, OnlyTheCurrentPictureWithAdjustmentsAndWithoutDisableOverlayGetsIt) {
  overlay.Load(decoder, Write("own.pam", EncodePamRgba(HalfCover())), true, 128);
  settings.overlay = &overlay;
  EXPECT_EQ(Compose(Stretched(), ImageSlot::Bottom).At(1, 1), kOverlayRed);
  EXPECT_EQ(Compose(Stretched(), ImageSlot::Current, false).At(1, 1), kOverlayRed);
  TImageProps off = Stretched();
  off.DisableOverlay = true;
  EXPECT_EQ(Compose(off, ImageSlot::Current).At(1, 1), kOverlayRed);
  settings.overlay = nullptr;
  EXPECT_EQ(Compose(Stretched(), ImageSlot::Current).At(1, 1), kOverlayRed);
}

TEST_F(OverlayTest, TheOverlayIsMirroredWithAFlippedPicture) {
  overlay.Load(decoder, Write("own.pam", EncodePamRgba(HalfCover())), true, 128);
  settings.overlay = &overlay;
  TImageProps p = Stretched();
  p.FlipHorz = true;
  TBitmap32 dst = Compose(p, ImageSlot::Current);
  EXPECT_EQ(dst.At(1, 1), kOverlayRed);
  EXPECT_EQ(dst.At(14, 1), 0xFFFFFFFFu);
}

TEST_F(OverlayTest, MissingBrokenOrSwitchedOffOverlaysAreNeverDrawn) {
  settings.overlay = &overlay;
  overlay.Load(decoder, Write("bad.png", "not a picture"), true, 0);
  EXPECT_TRUE(overlay.Picture().Empty());
  EXPECT_FALSE(overlay.HasOwnAlpha());
  EXPECT_EQ(Compose(Stretched(), ImageSlot::Current).At(1, 1), kOverlayRed);

  overlay.Load(decoder, Write("own.pam", EncodePamRgba(HalfCover())), false, 0);
  EXPECT_TRUE(overlay.Picture().Empty()) << "Overlay off: nothing is loaded";

  // Too narrow to scale: a one-pixel-wide overlay or destination is skipped.
  overlay.Load(decoder, Write("thin.ppm", EncodePpm(test::Filled(1, 5, 0xFFFFFFFFu))), true, 0);
  ASSERT_FALSE(overlay.Picture().Empty());
  EXPECT_EQ(Compose(Stretched(), ImageSlot::Current).At(1, 1), kOverlayRed);
  overlay.Load(decoder, Write("wide.ppm", EncodePpm(test::Filled(5, 5, 0xFFFFFFFFu))), true, 0);
  TBitmap32 thin = test::Filled(1, 6, kOverlayBack);
  overlay.Blend(thin, StretchFilter::Nearest, false);
  EXPECT_EQ(thin.At(0, 3), kOverlayBack);
}

TEST_F(OverlayTest, SettingsMapOntoTheComposition) {
  Settings s;
  s.WallpaperAlpha = 200;
  s.NoBackground = true;
  s.DesktopColor = 0x00332211;  // platform colour: blue 33, green 22, red 11
  s.Overlay = false;
  ComposeSettings c = MakeComposeSettings(s, {1920, 1080}, &overlay);
  EXPECT_EQ(c.desktopColor, 0xFF112233u);
  EXPECT_EQ(c.wallpaperAlpha, 200);
  EXPECT_TRUE(c.noBackground);
  EXPECT_EQ(c.overlay, nullptr);
  EXPECT_EQ(c.screen, (Size{1920, 1080}));
  s.Overlay = true;
  EXPECT_EQ(MakeComposeSettings(s, {1, 1}, &overlay).overlay, &overlay);
}

}  // namespace
}  // namespace ov
