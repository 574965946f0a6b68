#pragma once
// The DPI a window is shown at (per-monitor where the system can tell), for layouts given
// in 96-dpi units.
#include <windows.h>

namespace ov {

// The window's DPI; the screen's when the system cannot say per window; 96 at worst.
UINT WindowDpi(HWND hwnd);
// v (96-dpi units) in the window's pixels.
inline int ScaleForWindow(HWND hwnd, int v) { return MulDiv(v, static_cast<int>(WindowDpi(hwnd)), 96); }

}  // namespace ov
