#pragma once
// The picture library: every image file below the library's root folder.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ov {

class TBitmap32;

struct TImageItem {
  std::string Name;      // file name without folder
  std::string FileName;  // full path
  uint64_t FileSize = 0;
  int32_t ImageWidth = 0;   // known once a thumbnail was made
  int32_t ImageHeight = 0;
  // Made when the row is first shown, kept until the library is rebuilt.
  std::shared_ptr<const TBitmap32> Thumbnail;
};

// The path as UTF-8, or nothing when it has no UTF-8 form: a name held in UTF-16 may
// carry a lone surrogate (legal on NTFS), on which PathToUtf8 would throw. The scans pass
// such entries over (with what lies below them): the library could not name them.
std::optional<std::string> PathToUtf8IfValid(const std::filesystem::path& p);

// Scans a folder recursively in the file system's order, depth first, without sorting.
// Entries whose names are shorter than 3 characters or begin with "(" are skipped (with
// their sub-folders); hidden and system entries are included. Files count when
// IsImageFile says so. Unreadable folders are skipped, and so is a folder named by fewer
// than 2 characters (a drive's root is never scanned by accident).
void ScanImageFolder(const std::filesystem::path& folder, std::vector<TImageItem>& out);
// The same walk taking in every file, image or not, by its full path.
void ScanAllFiles(const std::filesystem::path& folder, std::vector<std::filesystem::path>& out);

}  // namespace ov
