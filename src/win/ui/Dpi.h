#pragma once
// The DPI a window is shown at (per-monitor where the system can tell), for layouts given
// in 96-dpi units, and the rescaling of a window's layout when its monitor's DPI changes.
#include <windows.h>

namespace ov {

// The window's DPI; the screen's when the system cannot say per window; 96 at worst.
UINT WindowDpi(HWND hwnd);
// The DPI of the monitor at a screen point, for a window not yet placed there; the
// screen's where the system has no per-monitor DPI (before Windows 8.1); 96 at worst.
UINT DpiAt(POINT screen);
// v (96-dpi units) in the window's pixels.
inline int ScaleForWindow(HWND hwnd, int v) { return MulDiv(v, static_cast<int>(WindowDpi(hwnd)), 96); }

// A new font like `font` with its height scaled from one DPI to another (nullptr for none).
HFONT ScaleFont(HFONT font, UINT fromDpi, UINT toDpi);

// What WM_DPICHANGED asks of a window laid out at `fromDpi`: every child control moves and
// grows by toDpi / fromDpi, controls that used `oldFont` take `newFont`, and the window
// takes the rectangle the system suggests (when given). Controls inside the program's own
// container windows are rescaled too; the inner parts of the system's controls (a combo
// box's edit, a list view's header) are left to the control that lays them out.
void RescaleForDpi(HWND window, UINT fromDpi, UINT toDpi, HFONT oldFont, HFONT newFont, const RECT* suggested);

}  // namespace ov
