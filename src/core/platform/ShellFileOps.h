#pragma once
// What the core needs from the shell and the file system for folders: listing with
// attributes, and the shell's rename, delete into the recycle bin, copy and move. Every
// operation runs without confirmations, progress or error dialogs and reports only
// success or failure. Paths are absolute.
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace ov {

// File attribute bits with the values the file system reports them with.
inline constexpr uint32_t kFileAttributeReadOnly = 0x1;
inline constexpr uint32_t kFileAttributeHidden = 0x2;
inline constexpr uint32_t kFileAttributeSystem = 0x4;
inline constexpr uint32_t kFileAttributeDirectory = 0x10;
inline constexpr uint32_t kFileAttributeArchive = 0x20;

struct FolderEntry {
  std::string name;         // UTF-8, without the parent folder
  uint32_t attributes = 0;  // kFileAttribute... bits
};

class IShellFileOps {
 public:
  virtual ~IShellFileOps() = default;

  // The sub-folders of `folder` with their attributes, without "." and "..", in the order
  // the file system lists them. Files are not listed. Empty when the folder is missing.
  virtual std::vector<FolderEntry> ListSubfolders(const std::filesystem::path& folder) const = 0;

  // True when a file or folder of that name exists, letter case ignored as the Windows
  // file system ignores it.
  virtual bool Exists(const std::filesystem::path& path) const = 0;

  // Deletes the folder and everything in it into the recycle bin (undo allowed).
  virtual bool RecycleFolder(const std::filesystem::path& folder) = 0;

  // Gives the folder a new name (`to` is the whole new path). Fails, changing nothing,
  // when `to` exists.
  virtual bool RenameFolder(const std::filesystem::path& from, const std::filesystem::path& to) = 0;

  // Afterwards the folder `to` holds the contents of `from` (created with missing parents;
  // when it exists already the contents are merged in and files of the same name replaced).
  virtual bool CopyFolder(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  // As CopyFolder, and `from` is gone afterwards.
  virtual bool MoveFolder(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
};

// The operations over std::filesystem, for the native build and the tests: folders are
// listed sorted by name, attributes are the directory attribute unless a test set others,
// Exists ignores ASCII letter case, and the recycle bin is a folder of the caller's
// choosing (or none: recycled folders are then removed).
class SimpleShellFileOps final : public IShellFileOps {
 public:
  explicit SimpleShellFileOps(std::filesystem::path recycleBin = {}) : recycleBin_(std::move(recycleBin)) {}

  std::vector<FolderEntry> ListSubfolders(const std::filesystem::path& folder) const override;
  bool Exists(const std::filesystem::path& path) const override;
  bool RecycleFolder(const std::filesystem::path& folder) override;
  bool RenameFolder(const std::filesystem::path& from, const std::filesystem::path& to) override;
  bool CopyFolder(const std::filesystem::path& from, const std::filesystem::path& to) override;
  bool MoveFolder(const std::filesystem::path& from, const std::filesystem::path& to) override;

  // Attributes ListSubfolders reports for this folder (the directory bit is added).
  void SetAttributes(const std::filesystem::path& folder, uint32_t attributes);
  // While set, every changing operation fails without touching anything.
  void SetFailing(bool failing) { failing_ = failing; }
  // Folders given to RecycleFolder that it recycled, in order.
  const std::vector<std::filesystem::path>& Recycled() const { return recycled_; }

 private:
  std::filesystem::path recycleBin_;
  std::map<std::filesystem::path, uint32_t> attributes_;
  std::vector<std::filesystem::path> recycled_;
  bool failing_ = false;
};

}  // namespace ov
