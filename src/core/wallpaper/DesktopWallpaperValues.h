#pragma once
// The values the desktop's wallpaper settings are written with.
#include <string>
#include <utility>
#include <vector>

namespace ov {

// Wallpaper styles: 0 tile, 1 centre, 2 stretch, 3 positioned at an origin. The program
// always installs with stretch.
enum WallpaperStyle { kStyleTile = 0, kStyleCenter = 1, kStyleStretch = 2, kStyleOrigin = 3 };

// The string values of "Control Panel\Desktop", in the order they are written.
std::vector<std::pair<std::string, std::string>> DesktopWallpaperValues(const std::string& path, int style,
                                                                        int originX, int originY);

}  // namespace ov
