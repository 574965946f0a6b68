#include "win/desktop/DesktopIcons.h"

#include <commctrl.h>

namespace ov {

HWND FindDesktopListView() {
  HWND progman = FindWindowW(L"Progman", L"Program Manager");
  if (!progman) return nullptr;
  HWND view = FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", L"");
  if (!view) return nullptr;
  return FindWindowExW(view, nullptr, L"SysListView32", L"");
}

std::optional<COLORREF> DesktopIconTextColor() {
  HWND list = FindDesktopListView();
  if (!list) return std::nullopt;
  return static_cast<COLORREF>(SendMessageW(list, LVM_GETTEXTCOLOR, 0, 0));
}

void KeepIconCaptionsTransparent(COLORREF textColor) {
  HWND list = FindDesktopListView();
  if (!list) return;
  if (static_cast<COLORREF>(SendMessageW(list, LVM_GETTEXTBKCOLOR, 0, 0)) == CLR_NONE) return;
  SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(CLR_NONE));
  SendMessageW(list, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(textColor));
  LRESULT count = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
  if (count > 0) SendMessageW(list, LVM_REDRAWITEMS, 0, count - 1);
  UpdateWindow(list);
}

bool IsWindowsXP() {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOW v{};
  v.dwOSVersionInfoSize = sizeof(v);
  if (!rtlGetVersion || rtlGetVersion(&v) != 0) return false;
  return v.dwMajorVersion == 5 && v.dwMinorVersion >= 1;
}

}  // namespace ov
