#include "win/platform/DibSection.h"

namespace ov {

HBITMAP CreateTopDownDib32(HDC dc, int width, int height, void** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  *bits = nullptr;
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
  if (bmp && !*bits) {
    DeleteObject(bmp);
    bmp = nullptr;
  }
  return bmp;
}

}  // namespace ov
