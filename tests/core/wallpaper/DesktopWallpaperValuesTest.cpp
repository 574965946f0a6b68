#include <gtest/gtest.h>

#include "core/wallpaper/DesktopWallpaperValues.h"

namespace ov {
namespace {

using Values = std::vector<std::pair<std::string, std::string>>;

TEST(DesktopWallpaperValues, StretchAsTheProgramInstalls) {
  EXPECT_EQ(DesktopWallpaperValues("C:\\d\\Wallpaper.bmp", kStyleStretch, 5, 6),
            (Values{{"Wallpaper", "C:\\d\\Wallpaper.bmp"},
                    {"TileWallpaper", "0"},
                    {"WallpaperStyle", "2"},
                    {"WallpaperOriginX", "0"},
                    {"WallpaperOriginY", "0"}}));
}

TEST(DesktopWallpaperValues, OtherStyles) {
  Values tile = DesktopWallpaperValues("w.bmp", kStyleTile, 5, 6);
  EXPECT_EQ(tile[1].second, "1");
  EXPECT_EQ(tile[2].second, "0");
  Values centre = DesktopWallpaperValues("w.bmp", kStyleCenter, 5, 6);
  EXPECT_EQ(centre[1].second, "0");
  EXPECT_EQ(centre[2].second, "0");
  Values origin = DesktopWallpaperValues("w.bmp", kStyleOrigin, -5, 60);
  EXPECT_EQ(origin[2].second, "0");
  EXPECT_EQ(origin[3].second, "-5");
  EXPECT_EQ(origin[4].second, "60");
}

}  // namespace
}  // namespace ov
