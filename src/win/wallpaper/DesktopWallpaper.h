#pragma once
// Installing a picture as the desktop wallpaper and reading which one is installed.
#include <string>

#include "core/util/Rect.h"

namespace ov {

// Writes the desktop's wallpaper values and makes the shell show the file: through the
// Active Desktop when that is on, otherwise through the system parameter. False on any
// failure.
bool SetDesktopWallpaper(const std::string& path, int style, int originX, int originY);

// Paints the program's own visible windows (frames and every child) and the task bar
// again. Some desktops repaint the new wallpaper over the windows standing on it, and do
// so a moment after the change; the caller repeats this once that moment has passed.
void RedrawOverWallpaper();

// The file the desktop names as its wallpaper; empty when it cannot be read.
std::string ReadDesktopWallpaper();

// The task bar's rectangle on the screen; empty when there is none. The preview marks it
// with MarkTaskbar.
Rect TaskbarRect();

}  // namespace ov
