#include "win/ui/Dpi.h"

namespace ov {

UINT WindowDpi(HWND hwnd) {
  // Looked up at run time: the function exists from Windows 10 on.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  UINT dpi = getDpi && hwnd ? getDpi(hwnd) : 0;
  if (!dpi) {
    HDC dc = GetDC(nullptr);
    dpi = static_cast<UINT>(GetDeviceCaps(dc, LOGPIXELSY));
    ReleaseDC(nullptr, dc);
  }
  return dpi ? dpi : 96;
}

}  // namespace ov
