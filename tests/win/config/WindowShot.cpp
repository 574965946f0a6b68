#include "WindowShot.h"

#include "win/platform/DibSection.h"

namespace ov {

TBitmap32 Capture(HWND hwnd) {
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
  Sleep(200);
  RECT r;
  GetWindowRect(hwnd, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  TBitmap32 shot(w, h);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP dib = CreateTopDownDib32(screen, w, h, &bits);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const auto* src = static_cast<const uint32_t*>(bits);
  for (int i = 0; i < w * h; ++i) shot.Bits()[i] = src[i] | 0xFF000000u;
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return shot;
}

}  // namespace ov
