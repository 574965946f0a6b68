#include "core/wallpaper/DesktopWallpaperValues.h"

namespace ov {

std::vector<std::pair<std::string, std::string>> DesktopWallpaperValues(const std::string& path, int style,
                                                                        int originX, int originY) {
  bool origin = style == kStyleOrigin;
  std::string styleText = (style == kStyleTile || style == kStyleCenter || style == kStyleOrigin) ? "0"
                                                                                                  : std::to_string(style);
  return {{"Wallpaper", path},
          {"TileWallpaper", style == kStyleTile ? "1" : "0"},
          {"WallpaperStyle", styleText},
          {"WallpaperOriginX", origin ? std::to_string(originX) : "0"},
          {"WallpaperOriginY", origin ? std::to_string(originY) : "0"}};
}

}  // namespace ov
