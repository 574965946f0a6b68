#pragma once
// Pop-up menus that stay inside the work area of their monitor, whatever the system does
// near a screen edge or over the task bar.
#include <windows.h>

namespace ov {

// TrackPopupMenuEx at (x, y) with `flags`; every menu window it opens (submenus too) is
// kept inside the work area of the monitor it opens on: the first one opens to the left of
// or above the point when it would run past the right or bottom edge.
int TrackMenuInWorkArea(HMENU menu, UINT flags, int x, int y, HWND owner);

}  // namespace ov
