#include "win/ui/Dpi.h"

namespace ov {

namespace {

struct Rescale {
  UINT from, to;
  HFONT oldFont, newFont;
  HMODULE program;

  int S(LONG v) const { return MulDiv(v, static_cast<int>(to), static_cast<int>(from)); }

  void Children(HWND parent) const {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      RECT r;
      GetWindowRect(child, &r);
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
      SetWindowPos(child, nullptr, S(r.left), S(r.top), S(r.right) - S(r.left), S(r.bottom) - S(r.top),
                   SWP_NOZORDER | SWP_NOACTIVATE);
      if (oldFont && reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)) == oldFont)
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(newFont), TRUE);
      // Owner-drawn controls of the program keep the font they draw with here.
      if (oldFont && GetPropW(child, L"font") == oldFont) SetPropW(child, L"font", newFont);
      if (reinterpret_cast<HMODULE>(GetClassLongPtrW(child, GCLP_HMODULE)) == program) Children(child);
    }
  }
};

}  // namespace

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

UINT DpiAt(POINT screen) {
  // Looked up at run time: shcore.dll has the function from Windows 8.1 on.
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static auto getDpi = [] {
    // From the system folder only, never from beside the program; where the system cannot
    // restrict the search (Windows 7 without its loader update) there is no such DLL anyway.
    HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                        reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                  : nullptr;
  }();
  UINT x = 0, y = 0;
  HMONITOR monitor = MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST);
  // 0: the effective DPI, the one windows are scaled by.
  if (getDpi && monitor && SUCCEEDED(getDpi(monitor, 0, &x, &y)) && y) return y;
  return WindowDpi(nullptr);
}

HFONT ScaleFont(HFONT font, UINT fromDpi, UINT toDpi) {
  LOGFONTW lf{};
  if (!font || !fromDpi || !GetObjectW(font, sizeof(lf), &lf)) return nullptr;
  lf.lfHeight = MulDiv(lf.lfHeight, static_cast<int>(toDpi), static_cast<int>(fromDpi));
  lf.lfWidth = MulDiv(lf.lfWidth, static_cast<int>(toDpi), static_cast<int>(fromDpi));
  return CreateFontIndirectW(&lf);
}

void RescaleForDpi(HWND window, UINT fromDpi, UINT toDpi, HFONT oldFont, HFONT newFont, const RECT* suggested) {
  if (!window || !fromDpi || !toDpi) return;
  if (fromDpi != toDpi) Rescale{fromDpi, toDpi, oldFont, newFont, GetModuleHandleW(nullptr)}.Children(window);
  if (suggested)
    SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ov
