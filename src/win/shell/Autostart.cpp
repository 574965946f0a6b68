#include "win/shell/Autostart.h"

#include <objbase.h>
#include <shlobj.h>

#include "core/shell/Autostart.h"
#include "core/util/FileIo.h"
#include "win/app/App.h"
#include "win/platform/RegistryStore.h"
#include "win/platform/Utf16.h"
#include "win/platform/ShellFolders.h"

namespace ov {

namespace fs = std::filesystem;

fs::path StartupFolder() {
  auto value = ReadRegistryString(HKEY_CURRENT_USER,
                                  L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", L"Startup");
  if (value && !value->empty()) return fs::path(*value);
  return GetSpecialFolder(SpecialFolder::Startup);
}

namespace {

// A COM interface pointer released at the end of its scope.
template <typename T>
struct ComPtr {
  T* p = nullptr;
  ~ComPtr() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
};

}  // namespace

bool WriteShortcut(const fs::path& link, const ShortcutInfo& info) {
  std::error_code ec;
  fs::create_directories(link.parent_path(), ec);
  ComPtr<IShellLinkW> shell;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&shell.p))))
    return false;
  shell->SetPath(info.target.c_str());
  shell->SetWorkingDirectory(info.workingFolder.c_str());
  std::wstring args = Widen(info.arguments);
  shell->SetArguments(args.c_str());
  ComPtr<IPersistFile> file;
  if (FAILED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)))) return false;
  return SUCCEEDED(file->Save(link.c_str(), TRUE));
}

std::optional<ShortcutInfo> ReadShortcut(const fs::path& link) {
  ComPtr<IShellLinkW> shell;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&shell.p))))
    return std::nullopt;
  ComPtr<IPersistFile> file;
  if (FAILED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)))) return std::nullopt;
  if (FAILED(file->Load(link.c_str(), STGM_READ))) return std::nullopt;
  wchar_t buf[MAX_PATH * 4] = L"";
  ShortcutInfo info;
  if (SUCCEEDED(shell->GetPath(buf, MAX_PATH * 4, nullptr, SLGP_RAWPATH))) info.target = buf;
  buf[0] = 0;
  if (SUCCEEDED(shell->GetWorkingDirectory(buf, MAX_PATH * 4))) info.workingFolder = buf;
  buf[0] = 0;
  if (SUCCEEDED(shell->GetArguments(buf, MAX_PATH * 4))) info.arguments = Narrow(buf);
  return info;
}

void SyncAutostart(App& app) {
  const Settings& s = app.settings;
  const fs::path link = StartupFolder() / kAutostartShortcutName;
  std::error_code ec;
  if (!s.AutoStart) {
    fs::remove(link, ec);  // a missing shortcut is no error
    return;
  }
  if (app.StartingUp) return;
  wchar_t exe[MAX_PATH * 4] = L"";
  GetModuleFileNameW(nullptr, exe, MAX_PATH * 4);
  WriteShortcut(link, {fs::path(exe), GetProgramFolder(), AutostartArguments(s.AutoStartQuit, s.AutoStartDelay)});
}

bool SetVisualStylesManifest(bool on) {
  wchar_t exe[MAX_PATH * 4] = L"";
  GetModuleFileNameW(nullptr, exe, MAX_PATH * 4);
  fs::path manifest = fs::path(std::wstring(exe) + L".manifest");
  if (on) return WriteFileAtomic(manifest, VisualStylesManifest());
  std::error_code ec;
  return fs::remove(manifest, ec) && !ec;
}

}  // namespace ov
