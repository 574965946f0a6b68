#pragma once
// Where the program keeps its files: read-only resources beside the program, per-user
// data under the application-data folder.
#include <cstddef>
#include <filesystem>
#include <string>

namespace ov {

struct DataFolders {
  std::filesystem::path programFolder;  // the program file's folder
  std::filesystem::path tempFolder;     // the system temporary folder
  std::filesystem::path dataFolder;     // per-user data: %APPDATA%\Quenlar\Orvinta
  // Where the data shared between computers lives (notes, colour codes, picture
  // properties), for example a folder a sync service keeps in step. Empty: the data
  // folder. Files of this computer only (wallpaper, rotation, caches) stay in dataFolder.
  std::filesystem::path notesFolder;

  const std::filesystem::path& SharedFolder() const { return notesFolder.empty() ? dataFolder : notesFolder; }
  std::filesystem::path ImageCrcFolder() const { return SharedFolder() / "ImageCRC"; }
  std::filesystem::path EntriesFolder() const { return SharedFolder() / "Entries"; }
  std::filesystem::path WallpaperFile() const { return dataFolder / "Wallpaper.bmp"; }
  std::filesystem::path RotationFile() const { return dataFolder / "Rotation.txt"; }
  // The wallpaper's composed picture layer, parked while the program sits idle: in the
  // temporary folder, which no backup copies. Empty when that folder is unknown.
  std::filesystem::path LayerCacheFile() const {
    return tempFolder.empty() ? std::filesystem::path() : tempFolder / "Orvinta Layer.tmp";
  }
  std::filesystem::path SkinImagesFolder() const { return programFolder / "Skin Images"; }
  std::filesystem::path OverlayImagesFolder() const { return programFolder / "Overlay Images"; }
  std::filesystem::path SampleImagesFolder() const { return programFolder / "Images"; }
};

// The data folder is the application-data folder + "Quenlar\Orvinta"; when that folder
// cannot be resolved (empty), the program folder serves.
DataFolders ResolveDataFolders(const std::filesystem::path& programFolder, const std::filesystem::path& tempFolder,
                               const std::filesystem::path& appDataFolder);

// The default picture library root: the pictures folder, else the documents folder, else
// "c:\", followed by "Wallpaper Images\". Folders are given as text, empty when unresolved.
std::string DefaultImagesPath(const std::string& myPictures, const std::string& myDocuments);

// Removes what interrupted saves left beside the program's data files (see StaleTemps.h):
// in the data folder, the picture-property folder and the notes below Entries. Returns
// how many files were removed.
size_t RemoveStaleDataTemps(const DataFolders& folders);

// The notes folder the setting NotesFolder names: empty (the data folder) when the text
// is empty, not an absolute path, or names the data folder itself.
std::filesystem::path NotesFolderFromSetting(const std::string& text, const std::filesystem::path& dataFolder);

// A folder as text with one trailing separator, the form settings and messages show.
std::string FolderText(const std::filesystem::path& folder);

}  // namespace ov
