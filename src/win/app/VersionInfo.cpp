#include "win/app/VersionInfo.h"

#include <windows.h>

#include <vector>

namespace ov {

FileVersion ReadFileVersion() {
  FileVersion v;
  wchar_t path[MAX_PATH];
  if (!GetModuleFileNameW(nullptr, path, MAX_PATH)) return v;
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &handle);
  if (size == 0) return v;
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoW(path, 0, size, data.data())) return v;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT len = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info) return v;
  v.major = HIWORD(info->dwFileVersionMS);
  v.minor = LOWORD(info->dwFileVersionMS);
  v.release = HIWORD(info->dwFileVersionLS);
  v.build = LOWORD(info->dwFileVersionLS);
  DWORD flags = info->dwFileFlags & info->dwFileFlagsMask;
  v.preRelease = flags & VS_FF_PRERELEASE;
  v.specialBuild = flags & VS_FF_SPECIALBUILD;
  v.privateBuild = flags & VS_FF_PRIVATEBUILD;
  return v;
}

}  // namespace ov
