#include "core/app/DataFolders.h"

#include "core/util/Paths.h"
#include "core/util/StaleTemps.h"

namespace ov {

namespace fs = std::filesystem;

DataFolders ResolveDataFolders(const fs::path& programFolder, const fs::path& tempFolder, const fs::path& appDataFolder) {
  DataFolders f;
  f.programFolder = programFolder;
  f.tempFolder = tempFolder;
  f.dataFolder = appDataFolder.empty() ? programFolder : appDataFolder / "Quenlar" / "Orvinta";
  return f;
}

std::string DefaultImagesPath(const std::string& myPictures, const std::string& myDocuments) {
  auto withSlash = [](std::string s) {
    if (!s.empty() && s.back() != '\\' && s.back() != '/') s += '\\';
    return s;
  };
  std::string base = !myPictures.empty() ? withSlash(myPictures) : !myDocuments.empty() ? withSlash(myDocuments) : "c:\\";
  return base + "Wallpaper Images\\";
}

fs::path NotesFolderFromSetting(const std::string& text, const fs::path& dataFolder) {
  if (text.empty()) return {};
  fs::path folder = PathFromUtf8(text).lexically_normal();
  if (!folder.is_absolute()) return {};
  auto plain = [](fs::path p) {
    p = p.lexically_normal();
    return p.has_relative_path() && p.filename().empty() ? p.parent_path() : p;
  };
  folder = plain(folder);
  if (folder == plain(dataFolder)) return {};
  return folder;
}

std::string FolderText(const fs::path& folder) {
  std::string s = PathToUtf8(folder.lexically_normal());
  if (s.empty()) return s;
  char sep = static_cast<char>(fs::path::preferred_separator);
  if (s.back() != sep && s.back() != '/') s += sep;
  return s;
}

}  // namespace ov

namespace ov {

size_t RemoveStaleDataTemps(const DataFolders& folders) {
  if (folders.dataFolder.empty()) return 0;
  StaleTempOptions top;
  // Entries\Codes*.dat, Entries\<section>\Notes\<year>\Notes_*.txt
  StaleTempOptions entries;
  entries.depth = 3;
  size_t shared = folders.notesFolder.empty() ? 0 : RemoveStaleWriteTemps(folders.notesFolder, top);
  return shared + RemoveStaleWriteTemps(folders.dataFolder, top) + RemoveStaleWriteTemps(folders.ImageCrcFolder(), top) +
         RemoveStaleWriteTemps(folders.EntriesFolder(), entries);
}

}  // namespace ov
