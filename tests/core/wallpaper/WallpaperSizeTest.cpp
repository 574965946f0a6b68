#include <gtest/gtest.h>

#include "core/wallpaper/WallpaperSize.h"

namespace ov {
namespace {

TEST(WallpaperSize, TheScreensOwnSizeUpToTheLargestThenScaledInShape) {
  EXPECT_EQ(WallpaperSizeFor({1920, 1080}), (Size{1920, 1080}));
  EXPECT_EQ(WallpaperSizeFor({7680, 2160}), (Size{7680, 2160}));
  EXPECT_EQ(WallpaperSizeFor({7680, 4320}), (Size{7680, 4320}));
  EXPECT_EQ(WallpaperSizeFor({15360, 4320}), (Size{15360, 4320}));
  EXPECT_EQ(WallpaperSizeFor({16384, 8640}), (Size{16384, 8640}));
  EXPECT_EQ(WallpaperSizeFor({23040, 4320}), (Size{16384, 3072}));   // too wide
  EXPECT_EQ(WallpaperSizeFor({3840, 12960}), (Size{2560, 8640}));    // too tall
  EXPECT_EQ(WallpaperSizeFor({0, -3}), (Size{1, 1}));
  // Memory for half the sides only (2 x 3840 x 1080 x 4 bytes is three quarters of it).
  EXPECT_EQ(WallpaperSizeFor({7680, 2160}, 44236800), (Size{3840, 1080}));
  EXPECT_EQ(WallpaperSizeFor({7680, 2160}, 44236800 * 4), (Size{7680, 2160}));
}

TEST(MarkTaskbar, ScaledToThePreviewAndBlendedBlue) {
  TBitmap32 preview(320, 240);
  preview.Clear(0xFF000000);
  // A task bar along the bottom 40 rows of a 1280 x 960 desktop: the bottom 10 preview rows.
  MarkTaskbar(preview, {{0, 920, 1280, 960}}, {1280, 960});
  EXPECT_EQ(preview.At(100, 200), 0xFF000000u);
  EXPECT_EQ(preview.At(100, 229), 0xFF000000u);
  Pixel inside = preview.At(100, 235);
  EXPECT_NE(inside, 0xFF000000u);
  EXPECT_GT(inside & 0xFF, (inside >> 16) & 0xFF);  // blue over red
  TBitmap32 untouched(320, 240);
  untouched.Clear(0xFF000000);
  MarkTaskbar(untouched, {Rect{}}, {1280, 960});
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) ASSERT_EQ(untouched.At(x, y), 0xFF000000u);
}

}  // namespace
}  // namespace ov
