#pragma once
// Installing a picture as the desktop wallpaper and reading which one is installed.
#include <string>

#include "core/util/Rect.h"

namespace ov {

// Writes the desktop's wallpaper values and makes the shell show the file: through the
// Active Desktop when that is on, otherwise through the system parameter. False on any
// failure.
bool SetDesktopWallpaper(const std::string& path, int style, int originX, int originY);

// The file the desktop names as its wallpaper; empty when it cannot be read.
std::string ReadDesktopWallpaper();

// The task bar's rectangle on the screen; empty when there is none. The preview marks it
// with MarkTaskbar.
Rect TaskbarRect();

}  // namespace ov
