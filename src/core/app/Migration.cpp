#include "core/app/Migration.h"

#include <system_error>

#include "core/calendar/FirstRun.h"
#include "core/platform/ShellFileOps.h"
#include "core/util/Text.h"

namespace ov {

namespace fs = std::filesystem;

namespace {

bool SameFolder(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec) || a.lexically_normal() == b.lexically_normal();
}

}  // namespace

MigrationResult MigrateOldLayouts(IShellFileOps& shell, EntryStore& store, const DataFolders& f) {
  MigrationResult result;
  std::error_code ec;
  if (fs::exists(f.EntriesFolder(), ec)) return result;
  result.ran = true;
  fs::create_directories(f.ImageCrcFolder(), ec);
  fs::create_directories(f.SkinImagesFolder(), ec);
  fs::create_directories(f.OverlayImagesFolder(), ec);
  fs::create_directories(f.EntriesFolder(), ec);
  // With the data kept beside the program there is nothing to move.
  if (SameFolder(f.programFolder, f.dataFolder)) {
    MigrateLegacyNotes(shell, store, f.programFolder);
    return result;
  }
  fs::path oldCrc = f.programFolder / "ImageCRC";
  if (fs::is_directory(oldCrc, ec)) shell.MoveFolder(oldCrc, f.ImageCrcFolder());
  MigrateLegacyNotes(shell, store, f.programFolder);
  fs::path oldEntries = f.programFolder / "Entries";
  if (fs::is_directory(oldEntries, ec)) {
    shell.MoveFolder(oldEntries, f.EntriesFolder());
    result.movedEntries = true;
  }
  return result;
}

std::string MovedEntriesMessage(const DataFolders& f) {
  return Format("Orvinta 数据项目现在从\r\n“%s”\r\n\r\n移动到当前用户文件夹\r\n“%s”", FolderText(f.programFolder).c_str(),
                FolderText(f.dataFolder).c_str());
}

}  // namespace ov
