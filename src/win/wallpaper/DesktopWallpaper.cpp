#include "win/wallpaper/DesktopWallpaper.h"

#include <windows.h>
#include <wininet.h>
#include <shlobj.h>

#include "core/wallpaper/DesktopWallpaperValues.h"
#include "win/platform/RegistryStore.h"
#include "win/platform/Utf16.h"

namespace ov {

namespace {

const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

// Installs through the Active Desktop when it is switched on. Returns 1 when it did so,
// 0 when it failed there, -1 when the Active Desktop is not in use.
int InstallThroughActiveDesktop(const std::wstring& path) {
  IActiveDesktop* desktop = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ActiveDesktop, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveDesktop,
                              reinterpret_cast<void**>(&desktop))) ||
      !desktop)
    return -1;
  COMPONENTSOPT options{};
  options.dwSize = sizeof(options);
  int result = -1;
  if (SUCCEEDED(desktop->GetDesktopItemOptions(&options, 0)) && options.fActiveDesktop) {
    std::wstring limited = path.substr(0, MAX_PATH);
    result = SUCCEEDED(desktop->SetWallpaper(limited.c_str(), 0)) &&
                     SUCCEEDED(desktop->ApplyChanges(AD_APPLY_ALL | AD_APPLY_FORCE))
                 ? 1
                 : 0;
  }
  desktop->Release();
  return result;
}

constexpr UINT kRedrawAll = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;

BOOL CALLBACK RedrawIfVisible(HWND hwnd, LPARAM) {
  if (IsWindowVisible(hwnd)) RedrawWindow(hwnd, nullptr, nullptr, kRedrawAll);
  return TRUE;
}

}  // namespace

void RedrawOverWallpaper() {
  // Every window of the program belongs to its one user-interface thread.
  EnumThreadWindows(GetCurrentThreadId(), &RedrawIfVisible, 0);
  // The task bar (with the notification area) belongs to the shell: it is only told to
  // paint, not waited for.
  if (HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr))
    RedrawWindow(tray, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool SetDesktopWallpaper(const std::string& path, int style, int originX, int originY) {
  for (const auto& [name, value] : DesktopWallpaperValues(path, style, originX, originY))
    WriteRegistryString(HKEY_CURRENT_USER, kDesktopKey, Widen(name), Widen(value));
  std::wstring wpath = Widen(path);
  try {
    HRESULT co = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int active = InstallThroughActiveDesktop(wpath);
    if (SUCCEEDED(co)) CoUninitialize();
    if (active >= 0) return active == 1;
    bool ok = SystemParametersInfoW(SPI_SETDESKWALLPAPER, 1, const_cast<wchar_t*>(wpath.c_str()),
                                    SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != 0;
    RedrawOverWallpaper();
    return ok;
  } catch (...) {
    return false;
  }
}

Rect TaskbarRect() {
  HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
  RECT r{};
  if (!tray || !GetWindowRect(tray, &r)) return {};
  return {r.left, r.top, r.right, r.bottom};
}

std::string ReadDesktopWallpaper() {
  auto value = ReadRegistryString(HKEY_CURRENT_USER, kDesktopKey, L"Wallpaper");
  return value ? Narrow(*value) : std::string();
}

}  // namespace ov
