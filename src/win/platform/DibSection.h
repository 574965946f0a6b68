#pragma once
// A top-down 32-bit DIB section, the form GDI drawing and our surfaces share.
#include <windows.h>

namespace ov {

// nullptr (and bits nullptr) on failure.
HBITMAP CreateTopDownDib32(HDC dc, int width, int height, void** bits);

}  // namespace ov
