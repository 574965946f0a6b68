#include "win/ui/MenuTracking.h"

#include "core/desktop/MenuPlacement.h"

namespace ov {

namespace {

const wchar_t kMenuClass[] = L"#32768";
const wchar_t kOldProcProp[] = L"OvMenuOldProc";

// What the hook of the one menu being tracked on this thread needs.
struct Tracking {
  HHOOK hook = nullptr;
  POINT anchor{};
  HWND topMenu = nullptr;  // the first menu window made is the top-level menu
};
thread_local Tracking* gTracking = nullptr;

Rect WorkAreaAt(POINT p) {
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  if (!GetMonitorInfoW(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &mi)) return {};
  return {mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom};
}

LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto oldProc = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kOldProcProp));
  if (msg == WM_WINDOWPOSCHANGING && lp) {
    auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
    RECT now{};
    GetWindowRect(hwnd, &now);
    Point at = (pos->flags & SWP_NOMOVE) ? Point{now.left, now.top} : Point{pos->x, pos->y};
    Size size = (pos->flags & SWP_NOSIZE) ? Size{now.right - now.left, now.bottom - now.top} : Size{pos->cx, pos->cy};
    if (size.width > 0 && size.height > 0) {
      // The top-level menu opens from the point it was asked for; a submenu starts where
      // the system put it beside its parent.
      const bool topLevel = gTracking && gTracking->topMenu == hwnd;
      const Point anchor = topLevel ? Point{gTracking->anchor.x, gTracking->anchor.y} : at;
      const Rect work = WorkAreaAt({anchor.x, anchor.y});
      if (!work.Empty()) {
        const Point placed = MenuOrigin(anchor, size, work);
        if (!(placed == at)) {
          pos->x = placed.x;
          pos->y = placed.y;
          pos->flags &= ~static_cast<UINT>(SWP_NOMOVE);
        }
      }
    }
  } else if (msg == WM_NCDESTROY && oldProc) {
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc));
    RemovePropW(hwnd, kOldProcProp);
  }
  return oldProc ? CallWindowProcW(oldProc, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

// Takes over the position handling of each menu window as it is made.
LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp) {
  HHOOK hook = gTracking ? gTracking->hook : nullptr;
  if (code == HCBT_CREATEWND) {
    HWND hwnd = reinterpret_cast<HWND>(wp);
    wchar_t cls[16] = {};
    if (GetClassNameW(hwnd, cls, 16) && lstrcmpW(cls, kMenuClass) == 0 && !GetPropW(hwnd, kOldProcProp)) {
      LONG_PTR old = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
      if (old && SetPropW(hwnd, kOldProcProp, reinterpret_cast<HANDLE>(old)))
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MenuWindowProc));
      if (gTracking && !gTracking->topMenu) gTracking->topMenu = hwnd;
    }
  }
  return CallNextHookEx(hook, code, wp, lp);
}

// The program's menu images are its check marks (tick, radio): they share the one column
// with the system's checks, so that the menu is measured the way it is drawn.
void UseOneMarkColumn(HMENU menu, int depth) {
  if (!menu || depth > 8) return;
  MENUINFO mi{};
  mi.cbSize = sizeof(mi);
  mi.fMask = MIM_STYLE;
  if (GetMenuInfo(menu, &mi)) {
    mi.fMask = MIM_STYLE;
    mi.dwStyle |= MNS_CHECKORBMP;
    SetMenuInfo(menu, &mi);
  }
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) UseOneMarkColumn(GetSubMenu(menu, i), depth + 1);
}

}  // namespace

int TrackMenuInWorkArea(HMENU menu, UINT flags, int x, int y, HWND owner) {
  UseOneMarkColumn(menu, 0);
  Tracking tracking;
  tracking.anchor = {x, y};
  Tracking* outer = gTracking;
  gTracking = &tracking;
  tracking.hook = SetWindowsHookExW(WH_CBT, &CbtProc, nullptr, GetCurrentThreadId());
  const int result = static_cast<int>(TrackPopupMenuEx(menu, flags, x, y, owner, nullptr));
  if (tracking.hook) UnhookWindowsHookEx(tracking.hook);
  gTracking = outer;
  return result;
}

}  // namespace ov
