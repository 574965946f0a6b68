#pragma once
// Tells clicks on the desktop itself from clicks on every other window.
#include <windows.h>

namespace ov::hook {

// True for the class names of the shell's top-level desktop windows ("Progman", and
// "WorkerW", which carries the icon view when the shell animates the wallpaper).
bool IsShellDesktopRootClass(const wchar_t* className);

// True when `window` is the desktop window itself (class "#32769", what a desktop
// without a shell shows) or lies inside one of the shell's desktop windows, such as
// their "SHELLDLL_DefView" and "SysListView32" children. The same child classes inside
// any other top-level window (a folder window, another program's list) do not count.
bool IsDesktopWindow(HWND window);

// IsDesktopWindow of the window under a screen point, in physical pixels when the
// calling thread is DPI aware.
bool IsDesktopAt(POINT screenPoint);

}  // namespace ov::hook
