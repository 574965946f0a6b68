#include <gtest/gtest.h>

#include <random>

#include "PictureTestUtil.h"
#include "core/images/Adjustments.h"
#include "core/images/Compose.h"
#include "core/render/Resample.h"

namespace ov {
namespace {

bool Inside(const Rect& r, int32_t x, int32_t y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

constexpr Pixel kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu, kBack = 0xFF204060u;

// Properties for plain placement tests: as-is, no adjustments.
TImageProps AsIs() {
  TImageProps p;
  p.Fit = false;
  return p;
}

struct Span {
  int32_t first = -1, last = -1;
};

// First and last column of row y whose pixel equals c.
Span ColumnsOf(const TBitmap32& s, int32_t y, Pixel c) {
  Span r;
  for (int32_t x = 0; x < s.Width(); ++x)
    if (s.At(x, y) == c) {
      if (r.first < 0) r.first = x;
      r.last = x;
    }
  return r;
}

class ComposeTest : public ::testing::Test {
 protected:
  ComposeTest() { settings.screen = {800, 600}; }
  TBitmap32 Wallpaper(Size s = {800, 600}) { return test::Filled(s.width, s.height, kBack); }
  ComposeSettings settings;
};

TEST_F(ComposeTest, APictureOfScreenSizeIsDrawnOnePixelLargerAtTheOrigin) {
  EXPECT_EQ(PicturePlacement({800, 600}, {800, 600}, AsIs(), {800, 600}), (Rect{0, 0, 801, 601}));
  // Fit on the wallpaper: 200 x 100 scales by min(600/100, 800/200) = 4.
  TImageProps fit;
  EXPECT_EQ(PicturePlacement({800, 600}, {200, 100}, fit, {800, 600}), (Rect{0, 99, 801, 500}));
  // The same on a half-size preview, with offsets scaled by preview / screen.
  fit.OffsetX = 100;
  fit.OffsetY = -7;
  EXPECT_EQ(PicturePlacement({400, 300}, {200, 100}, fit, {800, 600}), (Rect{50, 45, 451, 246}));
  // Zoom applies on top of fit; centring of an odd remainder truncates toward zero.
  TImageProps z = AsIs();
  z.Zoom = 150;
  EXPECT_EQ(PicturePlacement({800, 600}, {101, 51}, z, {800, 600}), (Rect{323, 261, 476, 338}));
  EXPECT_EQ(PicturePlacement({10, 10}, {101, 51}, z, {10, 10}), (Rect{-71, -33, 82, 44}));
}

// What OpaquelyPlaced names is written whole by PlaceImage: over two different grounds
// the pixels there come out the same, and the rest is left alone. Blended, tiled and
// hidden pictures name nothing.
TEST_F(ComposeTest, TheOpaquelyPlacedPartIsWrittenWholeWhateverWasBeneath) {
  struct Case {
    const char* what;
    bool fit, stretch, tile, flip;
    int32_t zoom, offsetX, offsetY, alpha;
    bool noBackground;
    bool covers;
  } cases[] = {
      {"fit", true, false, false, false, 100, 0, 0, 255, false, true},
      {"as-is, moved off the edge", false, false, false, false, 100, -300, 90, 255, false, true},
      {"zoomed and flipped", true, false, false, true, 170, 40, -25, 255, false, true},
      {"stretched", false, true, false, false, 100, 0, 0, 255, false, true},
      {"entirely outside", false, false, false, false, 100, 5000, 0, 255, false, false},
      {"blended", true, false, false, false, 100, 0, 0, 200, false, false},
      {"tiled", false, false, true, false, 50, 0, 0, 255, false, false},
      {"no background", true, false, false, false, 100, 0, 0, 255, true, false},
  };
  for (const Case& c : cases) {
    TImageProps p;
    p.Fit = c.fit, p.Stretch = c.stretch, p.Tile = c.tile, p.FlipHorz = c.flip;
    p.Zoom = c.zoom, p.OffsetX = c.offsetX, p.OffsetY = c.offsetY;
    settings.wallpaperAlpha = c.alpha;
    settings.noBackground = c.noBackground;
    TBitmap32 picture = test::Numbered(300, 170);
    const Rect placed = OpaquelyPlaced({800, 600}, {300, 170}, p, ImageSlot::Current, settings);
    EXPECT_EQ(!placed.Empty(), c.covers) << c.what;
    TBitmap32 a = Wallpaper(), b = test::Filled(800, 600, kRed);
    PlaceImage(a, picture, p, StretchFilter::Spline, ImageSlot::Current, settings);
    PlaceImage(b, picture, p, StretchFilter::Spline, ImageSlot::Current, settings);
    for (int32_t y = 0; y < 600; ++y)
      for (int32_t x = 0; x < 800; ++x)
        if (Inside(placed, x, y)) {
          ASSERT_EQ(a.At(x, y), b.At(x, y)) << c.what << " at " << x << "," << y;
        }
  }
}

TEST_F(ComposeTest, AdjustingWhilePlacingGivesThePixelsOfTheSeparatePasses) {
  struct Case {
    const char* what;
    bool fit, stretch, tile, flip, gray, equalize;
    int32_t offsetX, gamma10, contrast, red, alpha;
    StretchFilter filter;
    ImageSlot slot;
    bool fused;  // adjusted while placed
  } cases[] = {
      {"fit, tone and colour", true, false, false, false, false, false, 0, 15, 20, 10, 255, StretchFilter::Spline,
       ImageSlot::Current, true},
      {"as-is off the edge, flipped", false, false, false, true, false, false, -300, -8, 0, -40, 255,
       StretchFilter::Linear2, ImageSlot::Current, true},
      {"stretched, nearest", false, true, false, false, false, false, 0, 0, 35, 0, 255, StretchFilter::Nearest,
       ImageSlot::Bottom, true},
      {"no adjustment", true, false, false, false, false, false, 0, 0, 0, 0, 255, StretchFilter::Spline,
       ImageSlot::Current, true},
      {"entirely outside", false, false, false, false, false, false, 5000, 15, 0, 0, 255, StretchFilter::Spline,
       ImageSlot::Current, false},
      {"grayscale", true, false, false, false, true, false, 0, 15, 0, 0, 255, StretchFilter::Spline,
       ImageSlot::Current, false},
      {"equalised", true, false, false, false, false, true, 0, 0, 0, 0, 255, StretchFilter::Spline,
       ImageSlot::Current, false},
      {"blended", true, false, false, false, false, false, 0, 15, 0, 0, 180, StretchFilter::Spline,
       ImageSlot::Current, false},
      {"tiled", false, false, true, false, false, false, 0, 15, 0, 0, 255, StretchFilter::Spline,
       ImageSlot::Current, false},
  };
  // A picture with transparent and translucent parts: the fused pass makes it opaque too.
  TBitmap32 picture = test::Random(300, 170, 7);
  picture.MakeOpaque();
  for (int32_t y = 0; y < 170; y += 3) picture.At(y, y) &= y % 2 ? 0x00FFFFFFu : 0x80FFFFFFu;
  for (const Case& c : cases) {
    TImageProps p;
    p.Fit = c.fit, p.Stretch = c.stretch, p.Tile = c.tile, p.FlipHorz = c.flip;
    p.GrayScale = c.gray, p.Equalize = c.equalize;
    p.OffsetX = c.offsetX, p.Gamma = c.gamma10 / 10.0, p.Contrast = c.contrast, p.Red = c.red;
    settings.wallpaperAlpha = c.alpha;
    TBitmap32 separate = test::Random(800, 600, 3), fused = separate;
    TBitmap32 pictureCopy = picture;
    ASSERT_TRUE(PlaceImage(separate, pictureCopy, p, c.filter, c.slot, settings));
    FinishImage(separate, p, c.filter, c.slot, true, settings);
    Rect adjusted{1, 1, 2, 2};
    ASSERT_TRUE(PlaceImage(fused, picture, p, c.filter, c.slot, settings, &adjusted));
    EXPECT_EQ(!adjusted.Empty(), c.fused) << c.what;
    FinishImage(fused, p, c.filter, c.slot, true, settings, adjusted);
    ASSERT_TRUE(test::SamePixels(separate, fused)) << c.what;
  }
}

TEST_F(ComposeTest, AsIsPictureIsCentredAndMovedByItsOffsets) {
  TBitmap32 dst = Wallpaper();
  TBitmap32 pic = test::Filled(100, 50, kRed);
  TImageProps p = AsIs();
  p.OffsetX = 100;
  p.OffsetY = -20;
  ComposeImage(dst, pic, p, StretchFilter::Nearest, ImageSlot::Current, true, settings);
  // w = 101, h = 51: x from (800 - 101) / 2 + 100 = 449, y from (600 - 51) / 2 - 20 = 254.
  Span s = ColumnsOf(dst, 280, kRed);
  EXPECT_EQ(s.first, 449);
  EXPECT_EQ(s.last, 549);
  EXPECT_EQ(dst.At(500, 253), kBack);
  EXPECT_EQ(dst.At(500, 254), kRed);
  EXPECT_EQ(dst.At(500, 304), kRed);
  EXPECT_EQ(dst.At(500, 305), kBack);
}

TEST_F(ComposeTest, AFlippedPictureKeepsItsOffsetSideAndIsMirrored) {
  TBitmap32 pic(100, 50);
  for (int32_t y = 0; y < 50; ++y)
    for (int32_t x = 0; x < 100; ++x) pic.At(x, y) = x < 50 ? kRed : kBlue;
  TImageProps p = AsIs();
  p.OffsetX = 100;

  TBitmap32 plain = Wallpaper();
  ComposeImage(plain, pic, p, StretchFilter::Nearest, ImageSlot::Current, true, settings);
  p.FlipHorz = true;
  TBitmap32 flipped = Wallpaper();
  ComposeImage(flipped, pic, p, StretchFilter::Nearest, ImageSlot::Current, true, settings);

  Span red = ColumnsOf(flipped, 300, kRed), blue = ColumnsOf(flipped, 300, kBlue);
  ASSERT_GE(red.first, 0);
  ASSERT_GE(blue.first, 0);
  EXPECT_LT(blue.last, red.first) << "the picture itself is mirrored";
  const int32_t centre = (blue.first + red.last) / 2;
  EXPECT_NEAR(centre, 400 + 100, 1) << "100 pixels right of centre, as without the flip";
  const Span plainRed = ColumnsOf(plain, 300, kRed), plainBlue = ColumnsOf(plain, 300, kBlue);
  EXPECT_NEAR((plainRed.first + plainBlue.last) / 2, centre, 1);
}

TEST_F(ComposeTest, StretchFillsTheWholeDestinationWhateverZoomAndOffsets) {
  TBitmap32 pic(2, 2);
  pic.At(0, 0) = kRed;
  pic.At(1, 0) = kBlue;
  pic.At(0, 1) = kBlue;
  pic.At(1, 1) = kRed;
  TImageProps p = AsIs();
  p.Stretch = true;
  p.Zoom = 30;
  p.OffsetX = 500;
  TBitmap32 dst = Wallpaper({40, 20});
  ComposeImage(dst, pic, p, StretchFilter::Nearest, ImageSlot::Current, true, settings);
  EXPECT_EQ(dst.At(0, 0), kRed);
  EXPECT_EQ(dst.At(19, 9), kRed);
  EXPECT_EQ(dst.At(20, 9), kBlue);
  EXPECT_EQ(dst.At(39, 19), kRed);
  EXPECT_EQ(dst.At(0, 19), kBlue);
}

// The tile loop as written out step by step: copies of (0, 0, tw, th) at every multiple.
void RepeatTileReference(TBitmap32& d, int32_t tw, int32_t th) {
  tw = std::min(tw, d.Width());
  th = std::min(th, d.Height());
  if (tw < 1 || th < 1) return;
  for (int64_t y = 0; y <= d.Height(); y += th)
    for (int64_t x = 0; x <= d.Width(); x += tw)
      d.CopyWithin({int32_t(x), int32_t(y), int32_t(x + tw), int32_t(y + th)}, {0, 0, tw, th}, d);
}

TEST_F(ComposeTest, TilingEqualsCopyingTheFirstTileToEveryPosition) {
  std::mt19937 rng(77);
  for (int round = 0; round < 200; ++round) {
    int32_t w = 1 + int32_t(rng() % 70), h = 1 + int32_t(rng() % 40);
    int32_t tw = int32_t(rng() % 80) - 5, th = int32_t(rng() % 50) - 5;
    TBitmap32 fast = test::Random(w, h, rng()), ref = fast;
    RepeatTile(fast, tw, th);
    RepeatTileReference(ref, tw, th);
    ASSERT_TRUE(test::SamePixels(fast, ref)) << w << "x" << h << " tile " << tw << "x" << th;
  }
  TBitmap32 big = test::Random(1000, 700, 3), ref = big;
  RepeatTile(big, 1, 1);
  EXPECT_TRUE(test::SamePixels(big, test::Filled(1000, 700, ref.At(0, 0))));
}

TEST_F(ComposeTest, TilesRepeatAndALargeTileIsDrawnOnceClipped) {
  TBitmap32 pic = test::Numbered(3, 2);
  TImageProps p = AsIs();
  p.Tile = true;
  settings.screen = {10, 7};
  TBitmap32 dst = Wallpaper({10, 7});
  ComposeImage(dst, pic, p, StretchFilter::Spline, ImageSlot::Current, true, settings);
  for (int32_t y = 0; y < 7; ++y)
    for (int32_t x = 0; x < 10; ++x) ASSERT_EQ(dst.At(x, y), pic.At(x % 3, y % 2)) << x << "," << y;

  TBitmap32 large = test::Numbered(25, 30);
  dst = Wallpaper({10, 7});
  ComposeImage(dst, large, p, StretchFilter::Nearest, ImageSlot::Current, true, settings);
  for (int32_t y = 0; y < 7; ++y)
    for (int32_t x = 0; x < 10; ++x) ASSERT_EQ(dst.At(x, y), large.At(x, y));

  // Zoom 50 on the half-size destination: tiles of Round(3 * 0.5 * 0.5) = 1 (0.75) by
  // Round(0.5) = 0 pixels: nothing is drawn and nothing loops.
  p.Zoom = 50;
  settings.screen = {20, 14};
  dst = Wallpaper({10, 7});
  ComposeImage(dst, pic, p, StretchFilter::Nearest, ImageSlot::Current, true, settings);
  EXPECT_TRUE(test::SamePixels(dst, Wallpaper({10, 7})));
}

TEST_F(ComposeTest, WallpaperAlphaAppliesToTheCurrentSlotOnly) {
  TBitmap32 pic = test::Filled(10, 10, kRed);
  TImageProps p = AsIs();
  p.Stretch = true;
  settings.wallpaperAlpha = 0;
  TBitmap32 dst = Wallpaper({8, 8});
  ComposeImage(dst, pic, p, StretchFilter::Nearest, ImageSlot::Current, true, settings);
  EXPECT_EQ(dst.At(3, 3), kBack) << "an invisible background picture";
  EXPECT_EQ(pic.MasterAlpha, 0);
  EXPECT_EQ(pic.Mode, DrawMode::Blend);

  settings.wallpaperAlpha = 128;
  dst = Wallpaper({8, 8});
  ComposeImage(dst, pic, p, StretchFilter::Nearest, ImageSlot::Current, true, settings);
  EXPECT_NEAR(RedOf(dst.At(3, 3)), (255 * 128 + 0x20 * 127) / 255, 1);
  EXPECT_NEAR(BlueOf(dst.At(3, 3)), (0x60 * 127) / 255, 1);

  dst = Wallpaper({8, 8});
  ComposeImage(dst, pic, p, StretchFilter::Nearest, ImageSlot::Bottom, true, settings);
  EXPECT_EQ(dst.At(3, 3), kRed) << "the bottom image is always opaque";
  EXPECT_EQ(pic.MasterAlpha, 255);
  EXPECT_EQ(pic.Mode, DrawMode::Opaque);
}

TEST_F(ComposeTest, AdjustmentsRecolourEverythingBeneathToo) {
  // A small bottom image in the middle: grayscale turns the desktop colour around it gray.
  TBitmap32 pic = test::Filled(10, 10, kRed);
  TImageProps p = AsIs();
  p.GrayScale = true;
  TBitmap32 dst = Wallpaper();
  ComposeImage(dst, pic, p, StretchFilter::Nearest, ImageSlot::Bottom, true, settings);
  const uint32_t backGray = GrayValue(0x20, 0x40, 0x60), redGray = GrayValue(255, 0, 0);
  EXPECT_EQ(dst.At(0, 0), MakeArgb(255, backGray, backGray, backGray));
  EXPECT_EQ(dst.At(400, 300), MakeArgb(255, redGray, redGray, redGray));

  // With adjust off nothing is recoloured, but the mirror still runs.
  p.FlipHorz = true;
  TBitmap32 half = Wallpaper({4, 1});
  half.At(0, 0) = kBlue;
  TBitmap32 far = test::Filled(1, 1, kRed);
  p.OffsetX = 100000;  // wholly outside: only the passes over the destination act
  ComposeImage(half, far, p, StretchFilter::Nearest, ImageSlot::Bottom, false, settings);
  EXPECT_EQ(half.At(3, 0), kBlue);
  EXPECT_EQ(half.At(0, 0), kBack);

  // A picture wholly outside still gets the adjustments over the destination.
  TBitmap32 out = Wallpaper({4, 4});
  ComposeImage(out, far, p, StretchFilter::Nearest, ImageSlot::Bottom, true, settings);
  EXPECT_EQ(out.At(1, 1), MakeArgb(255, backGray, backGray, backGray));
}

TEST_F(ComposeTest, NoBackgroundLeavesOnlyTheDesktopColour) {
  settings.noBackground = true;
  settings.desktopColor = 0xFF112233u;
  TBitmap32 pic = test::Filled(10, 10, kRed);
  TImageProps p = AsIs();
  p.GrayScale = p.FlipHorz = true;
  TBitmap32 dst = Wallpaper({6, 3});
  ComposeImage(dst, pic, p, StretchFilter::Nearest, ImageSlot::Current, true, settings);
  EXPECT_TRUE(test::SamePixels(dst, test::Filled(6, 3, 0xFF112233u))) << "no adjustments, no mirror";

  TBitmap32 empty;
  dst = Wallpaper({6, 3});
  settings.noBackground = false;
  ComposeImage(dst, empty, p, StretchFilter::Nearest, ImageSlot::Current, true, settings);
  EXPECT_TRUE(test::SamePixels(dst, Wallpaper({6, 3}))) << "an empty picture changes nothing";
  ComposeImage(empty, pic, p, StretchFilter::Nearest, ImageSlot::Current, true, settings);
  EXPECT_TRUE(empty.Empty());
}

TEST_F(ComposeTest, JunkPropertiesDrawWithHeldValues) {
  TBitmap32 pic = test::Numbered(40, 30);
  struct Junk {
    bool fit, tile;
    int32_t zoom, ox, oy;
    double gamma;
  } cases[] = {{false, false, 0, 0, 0, 1e300},         {true, false, 99999, 0, 0, -1e300},
               {false, true, 0, 0, 0, std::nan("")},   {false, true, INT32_MAX, 0, 0, 0},
               {true, false, INT32_MAX, INT32_MAX, INT32_MIN, 0}, {false, false, -5, INT32_MIN, INT32_MAX, 10},
               {true, true, INT32_MIN, 0, 0, -10}};
  for (const Junk& j : cases) {
    TImageProps p;
    p.Fit = j.fit;
    p.Tile = j.tile;
    p.Zoom = j.zoom;
    p.OffsetX = j.ox;
    p.OffsetY = j.oy;
    p.Gamma = j.gamma;
    p.Contrast = -5000;
    p.Brightness = INT32_MAX;
    p.Red = INT32_MIN;
    TBitmap32 dst = Wallpaper({64, 48});
    ComposeImage(dst, pic, p, StretchFilter::Spline, ImageSlot::Current, true, settings);
    EXPECT_EQ(dst.Width(), 64);
  }
  // Zoom 0 is drawn as zoom 1: a one-pixel dot in the middle of the wallpaper.
  TImageProps zero = AsIs();
  zero.Zoom = 0;
  TImageProps one = AsIs();
  one.Zoom = 1;
  TBitmap32 a = Wallpaper(), b = Wallpaper();
  ComposeImage(a, pic, zero, StretchFilter::Spline, ImageSlot::Current, true, settings);
  ComposeImage(b, pic, one, StretchFilter::Spline, ImageSlot::Current, true, settings);
  EXPECT_TRUE(test::SamePixels(a, b));
  EXPECT_NE(a.At(399, 299), kBack);
}

}  // namespace
}  // namespace ov
