#include "win/platform/WinShellFileOps.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <system_error>

#include "win/platform/Utf16.h"

namespace ov {

namespace fs = std::filesystem;

namespace {

constexpr FILEOP_FLAGS kQuiet = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI | FOF_SILENT;

// The shell wants absolute paths with backslashes.
std::wstring ShellPath(const fs::path& p) {
  std::error_code ec;
  fs::path a = fs::absolute(p, ec);
  if (ec) a = p;
  return a.make_preferred().wstring();
}

bool IsFolder(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// One SHFileOperationW call. pFrom and pTo are lists ending in an empty string, hence
// the second terminating NUL.
bool ShellOperation(UINT func, const std::wstring& from, const std::wstring* to, FILEOP_FLAGS flags) {
  std::wstring f = from;
  f.append(2, L'\0');
  std::wstring t;
  if (to) {
    t = *to;
    t.append(2, L'\0');
  }
  SHFILEOPSTRUCTW op{};
  op.wFunc = func;
  op.pFrom = f.c_str();
  op.pTo = to ? t.c_str() : nullptr;
  op.fFlags = flags;
  return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

// Copy or move so that `to` ends up holding the contents of `from`: as a new folder of
// that name when `to` is missing, else merged into it.
bool Transfer(UINT func, const fs::path& fromPath, const fs::path& toPath) {
  const std::wstring from = ShellPath(fromPath), to = ShellPath(toPath);
  if (!IsFolder(from)) return false;
  if (!IsFolder(to)) {
    std::error_code ec;
    fs::create_directories(fs::path(to).parent_path(), ec);
    return ShellOperation(func, from, &to, kQuiet);
  }
  bool ok = ShellOperation(func, from + L"\\*", &to, kQuiet);
  // A merged move leaves the emptied source folder behind.
  if (ok && func == FO_MOVE) RemoveDirectoryW(from.c_str());
  return ok && (func != FO_MOVE || !IsFolder(from));
}

}  // namespace

unsigned RecycleFolderFlags() { return kQuiet | FOF_ALLOWUNDO | FOF_WANTNUKEWARNING; }

std::vector<FolderEntry> WinShellFileOps::ListSubfolders(const fs::path& folder) const {
  std::vector<FolderEntry> out;
  const std::wstring pattern = ShellPath(folder) + L"\\*";
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(pattern.c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    const std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    out.push_back({Narrow(name), fd.dwFileAttributes});
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return out;
}

bool WinShellFileOps::Exists(const fs::path& path) const {
  return GetFileAttributesW(ShellPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WinShellFileOps::RecycleFolder(const fs::path& folder) {
  const std::wstring f = ShellPath(folder);
  if (!IsFolder(f)) return false;
  return ShellOperation(FO_DELETE, f, nullptr, static_cast<FILEOP_FLAGS>(RecycleFolderFlags()));
}

bool WinShellFileOps::RenameFolder(const fs::path& fromPath, const fs::path& toPath) {
  const std::wstring from = ShellPath(fromPath), to = ShellPath(toPath);
  if (!IsFolder(from) || GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  return ShellOperation(FO_RENAME, from, &to, kQuiet);
}

bool WinShellFileOps::CopyFolder(const fs::path& from, const fs::path& to) { return Transfer(FO_COPY, from, to); }

bool WinShellFileOps::MoveFolder(const fs::path& from, const fs::path& to) { return Transfer(FO_MOVE, from, to); }

}  // namespace ov
