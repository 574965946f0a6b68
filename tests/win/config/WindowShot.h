#pragma once
// What the screen shows of a window, for tests that check pixels or keep a picture.
#include <windows.h>

#include "core/render/Bitmap32.h"

namespace ov {

// The window's rectangle of the screen after a full repaint, opaque.
TBitmap32 Capture(HWND hwnd);

}  // namespace ov
