#pragma once
// The values the desktop's wallpaper settings are written with.
#include <string>
#include <utility>
#include <vector>

namespace ov {

// Wallpaper styles: 0 tile, 1 centre, 2 stretch, 3 positioned at an origin, 22 span (one
// picture across all monitors, Windows 8 and later). The program installs with stretch on
// one monitor and with span or tile on several (MonitorLayout.h).
enum WallpaperStyle { kStyleTile = 0, kStyleCenter = 1, kStyleStretch = 2, kStyleOrigin = 3, kStyleSpan = 22 };

// The string values of "Control Panel\Desktop", in the order they are written.
std::vector<std::pair<std::string, std::string>> DesktopWallpaperValues(const std::string& path, int style,
                                                                        int originX, int originY);

}  // namespace ov
