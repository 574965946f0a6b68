#pragma once
// Moves a window, its size kept, so that it lies inside the work area of the monitor its
// centre is on: after it grew for a monitor of a higher DPI it no longer runs past that
// monitor's edge or under its task bar.
#include <windows.h>

namespace ov {

void KeepInWorkArea(HWND window);

}  // namespace ov
