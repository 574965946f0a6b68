#include "win/wallpaper/Monitors.h"

#include <windows.h>

#include <algorithm>

namespace ov {

namespace {

Rect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  if (GetMonitorInfoW(monitor, &mi))
    reinterpret_cast<std::vector<MonitorInfo>*>(data)->push_back(
        {FromRect(mi.rcMonitor), FromRect(mi.rcWork), (mi.dwFlags & MONITORINFOF_PRIMARY) != 0});
  return TRUE;
}

// The true version: GetVersionEx reports what the program's manifest claims to support.
SystemVersion QuerySystemVersion() {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  SystemVersion v;
  auto get = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (get && get(&info) == 0) {
    v.major = static_cast<int>(info.dwMajorVersion);
    v.minor = static_cast<int>(info.dwMinorVersion);
  }
  return v;
}

}  // namespace

MonitorLayout QueryMonitorLayout() {
  MonitorLayout layout;
  EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&layout.monitors));
  if (layout.monitors.empty()) {
    Rect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT work{screen.left, screen.top, screen.right, screen.bottom};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    layout.monitors.push_back({screen, FromRect(work), true});
  }
  layout.version = QuerySystemVersion();
  MEMORYSTATUSEX ms{};
  ms.dwLength = sizeof(ms);
  // What a new allocation can still take, as the picture decoder counts it.
  if (GlobalMemoryStatusEx(&ms)) layout.availableBytes = std::min<uint64_t>(ms.ullAvailPageFile, ms.ullAvailVirtual);
  return layout;
}

Rect WorkAreaAt(Point screen) {
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  HMONITOR m = MonitorFromPoint(POINT{screen.x, screen.y}, MONITOR_DEFAULTTONEAREST);
  if (m && GetMonitorInfoW(m, &mi)) return FromRect(mi.rcWork);
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return FromRect(work);
}

}  // namespace ov
