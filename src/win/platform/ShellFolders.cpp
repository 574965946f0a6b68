#include "win/platform/ShellFolders.h"

#include <windows.h>
#include <shlobj.h>

namespace ov {

std::filesystem::path GetSpecialFolder(SpecialFolder which) {
  int csidl = CSIDL_APPDATA;
  switch (which) {
    case SpecialFolder::AppData: csidl = CSIDL_APPDATA; break;
    case SpecialFolder::MyPictures: csidl = CSIDL_MYPICTURES; break;
    case SpecialFolder::MyDocuments: csidl = CSIDL_PERSONAL; break;
    case SpecialFolder::Startup: csidl = CSIDL_STARTUP; break;
  }
  wchar_t path[MAX_PATH] = L"";
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return std::filesystem::path(path);
}

std::filesystem::path GetProgramFolder() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) {
      buf.resize(n);
      break;
    }
    buf.resize(buf.size() * 2);
  }
  return std::filesystem::path(buf).parent_path();
}

std::filesystem::path GetTempFolder() {
  wchar_t path[MAX_PATH + 1] = L"";
  DWORD n = GetTempPathW(MAX_PATH + 1, path);
  if (n == 0 || n > MAX_PATH) return {};
  return std::filesystem::path(path);
}

}  // namespace ov

namespace ov {

std::string AnsiPathForCLibrary(const std::filesystem::path& path) {
  std::wstring wide = path.wstring();
  std::wstring shortPath(wide.size() + MAX_PATH, L'\0');
  DWORD n = GetShortPathNameW(wide.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
  if (n > 0 && n < shortPath.size()) wide.assign(shortPath.data(), n);
  BOOL lossy = FALSE;
  int len = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, &lossy);
  if (len <= 0 || lossy) return {};
  std::string out(size_t(len), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), len, nullptr, nullptr);
  return out;
}

}  // namespace ov
